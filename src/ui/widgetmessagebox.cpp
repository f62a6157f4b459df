#include "ui/widgetmessagebox.h"

#include "common/messagebox.h"

#include <QApplication>
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

CMessageBox::Answer Present(const CMessageBox::Box& box)
{
    const QString caption = box.caption.isEmpty() ? CMessageBox::AppTitle() : box.caption;
    const bool question = box.buttons == CMessageBox::Buttons::YesNo;
    QMessageBox dialog(ToIcon(box.icon), caption, box.text,
                       question ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                       QApplication::activeWindow());
    if (question)
        dialog.setDefaultButton(QMessageBox::Yes);
    const int result = dialog.exec();
    if (!question)
        return CMessageBox::Answer::Ok;
    return result == QMessageBox::Yes ? CMessageBox::Answer::Yes : CMessageBox::Answer::No;
}
} // namespace

void CWidgetMessageBox::Install()
{
    CMessageBox::SetPresenter(&Present);
}
