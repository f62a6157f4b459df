#include "common/messagebox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_mutex;
CMessageBox::Presenter g_presenter;
} // namespace

QString CMessageBox::AppTitle()
{
    return QStringLiteral("orvalis");
}

CMessageBox::Answer CMessageBox::Show(const Box& box)
{
    Presenter presenter;
    {
        const std::lock_guard lock(g_mutex);
        presenter = g_presenter;
    }
    if (presenter)
        return presenter(box);
    const QString caption = box.caption.isEmpty() ? AppTitle() : box.caption;
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(box.text));
    return box.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

bool CMessageBox::Ask(const QString& text, const QString& caption)
{
    const QString title = caption.isEmpty() ? QStringLiteral("Are you sure ?") : caption;
    return Show({text, title, Icon::Question, Buttons::YesNo}) == Answer::Yes;
}

void CMessageBox::Inform(const QString& text)
{
    Show({text, AppTitle(), Icon::None, Buttons::Ok});
}

void CMessageBox::Error(const QString& text)
{
    Show({text, QStringLiteral("Error"), Icon::None, Buttons::Ok});
}

void CMessageBox::Warning(const QString& text)
{
    Show({text, QStringLiteral("Warning"), Icon::Stop, Buttons::Ok});
}

void CMessageBox::SetPresenter(Presenter presenter)
{
    const std::lock_guard lock(g_mutex);
    g_presenter = std::move(presenter);
}
