#include "gui/widgetmessagebox.h"

#include "gui/selfclosingbox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>

namespace {
QMessageBox::Icon ToIcon(CMessageBox::Icon icon)
{
    switch (icon) {
    case CMessageBox::Icon::Information:
        return QMessageBox::Information;
    case CMessageBox::Icon::Question:
        return QMessageBox::Question;
    case CMessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case CMessageBox::Icon::Stop:
        return QMessageBox::Critical;
    case CMessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

std::unique_ptr<QMessageBox> CWidgetMessageBox::Build(const CMessageBox::Box& box, QWidget* parent)
{
    const QString caption = box.caption.isEmpty() ? CMessageBox::AppTitle() : box.caption;
    const bool question = box.buttons == CMessageBox::Buttons::YesNo;
    auto dialog = std::make_unique<QMessageBox>(
        ToIcon(box.icon), caption, box.text,
        question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    if (question)
        dialog->setDefaultButton(QMessageBox::Yes);
    // Box texts carry what servers, files and other programs hand us: never markup, so a
    // reply cannot draw links or make the box load a file as an image.
    dialog->setTextFormat(Qt::PlainText);
    // Wide enough that the window manager's frame shows the caption beside its buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        const int width = dialog->fontMetrics().horizontalAdvance(caption) + kFrameButtons;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (question && box.closeAfterSeconds > 0) {
        const bool yes = box.answerOnClose == CMessageBox::Answer::Yes;
        dialog->setDefaultButton(yes ? QMessageBox::Yes : QMessageBox::No);
        new CSelfClosingBox(*dialog, box.closeAfterSeconds,
                            yes ? QMessageBox::Yes : QMessageBox::No);
    }
    return dialog;
}

CMessageBox::Answer CWidgetMessageBox::Present(const CMessageBox::Box& box)
{
    const std::unique_ptr<QMessageBox> dialog =
        CWidgetMessageBox::Build(box, QApplication::activeWindow());
    const int result = dialog->exec();
    if (box.buttons != CMessageBox::Buttons::YesNo)
        return CMessageBox::Answer::Ok;
    return result == QMessageBox::Yes ? CMessageBox::Answer::Yes : CMessageBox::Answer::No;
}

void CWidgetMessageBox::Install()
{
    CMessageBox::SetPresenter(&Present);
}
