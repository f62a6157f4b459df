#include "common/messagebox.h"

#include <QCoreApplication>

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
    if (box.buttons != Buttons::YesNo)
        return Answer::Ok;
    // Nobody can answer here: a box that would close itself gives its own answer.
    return box.closeAfterSeconds > 0 ? box.answerOnClose : Answer::No;
}

bool CMessageBox::Ask(const QString& text, const QString& caption)
{
    const QString title =
        caption.isEmpty() ? QCoreApplication::translate("CMessageBox", "Are you sure?") : caption;
    return Show({text, title, Icon::Question, Buttons::YesNo}) == Answer::Yes;
}

bool CMessageBox::AskOrGoAhead(const QString& text, int seconds, const QString& caption)
{
    const QString title =
        caption.isEmpty() ? QCoreApplication::translate("CMessageBox", "Are you sure?") : caption;
    Box box{text, title, Icon::Question, Buttons::YesNo};
    box.closeAfterSeconds = seconds;
    box.answerOnClose = Answer::Yes;
    return Show(box) == Answer::Yes;
}

bool CMessageBox::Confirm(Question question, const QString& text)
{
    switch (question) {
    case Question::None:
        return true;
    case Question::Waiting:
        return Ask(text);
    case Question::SelfClosing:
        return AskOrGoAhead(text);
    }
    return true;
}

void CMessageBox::Inform(const QString& text)
{
    Show({text, AppTitle(), Icon::None, Buttons::Ok});
}

void CMessageBox::Error(const QString& text)
{
    Show({text, QCoreApplication::translate("CMessageBox", "Error"), Icon::None, Buttons::Ok});
}

void CMessageBox::Warning(const QString& text)
{
    Show({text, QCoreApplication::translate("CMessageBox", "Warning"), Icon::Stop, Buttons::Ok});
}

void CMessageBox::SetPresenter(Presenter presenter)
{
    const std::lock_guard lock(g_mutex);
    g_presenter = std::move(presenter);
}
