#include "gui/windowframe.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLayout>
#include <QPushButton>
#include <QWidget>

namespace {

bool FixedSize(const QWidget* window)
{
    const QLayout* layout = window->layout();
    return (layout && layout->sizeConstraint() == QLayout::SetFixedSize) ||
           window->minimumSize() == window->maximumSize();
}

} // namespace

QIcon CWindowFrame::ProgramIcon()
{
    // One icon object: every window shows the same one, which the window test relies on.
    static const QIcon icon(QStringLiteral(":/icons/orvalis.svg"));
    return icon;
}

void CWindowFrame::Apply(QWidget* window)
{
    window->setWindowIcon(ProgramIcon());
    if (window->windowFlags() & Qt::FramelessWindowHint || !FixedSize(window))
        return;
    // Title and close button only: nothing to maximize or minimize in a window of one size.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

QString CWindowFrame::Broken(const QWidget* window)
{
    if (window->windowIcon().cacheKey() != ProgramIcon().cacheKey())
        return QStringLiteral("not the program's icon");
    const Qt::WindowFlags flags = window->windowFlags();
    if (!(flags & Qt::FramelessWindowHint) && FixedSize(window) &&
        (!(flags & Qt::CustomizeWindowHint) || (flags & Qt::WindowMaximizeButtonHint)))
        return QStringLiteral("fixed size, yet may be maximized");
    for (const QDialogButtonBox* box : window->findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* button : box->buttons()) {
            const QDialogButtonBox::ButtonRole role = box->buttonRole(button);
            if ((role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::RejectRole) &&
                box->standardButton(button) == QDialogButtonBox::NoButton)
                return QStringLiteral("\"%1\" is no standard button").arg(button->text());
        }
    }
    return {};
}
