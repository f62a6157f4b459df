#include "dialer/gui/dialwindowgate.h"

#include "dialer/gui/defaultdial.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
using Window = CDialRequestQueue::Window;
using Answer = CDialRequestQueue::Answer;
} // namespace

CDialRequestQueue& CDialWindowGate::Queue()
{
    static CDialRequestQueue queue;
    return queue;
}

CDialRequestQueue::Window CDialWindowGate::OpenWindow()
{
    if (CDefaultDial::IsAsking())
        return Window::Credentials;
    const CDialDlg* open = CDialDlg::Current();
    if (!open)
        return Window::None;
    const bool over = open->IsOver();
    switch (open->RunMode()) {
    case CDialDlg::MailCheck:
        return over ? Window::MailCheckDone : Window::MailCheckRunning;
    case CDialDlg::UpgradeCheck:
        return over ? Window::UpgradeCheckDone : Window::UpgradeCheckRunning;
    case CDialDlg::Dial:
        break;
    }
    return over ? Window::DialDone : Window::DialRunning;
}

bool CDialWindowGate::Admit(Request request, std::function<void()> run)
{
    switch (Queue().Ask(OpenWindow(), request, std::move(run))) {
    case Answer::Start:
        return true;
    case Answer::Replace:
        if (CDialDlg* open = CDialDlg::Current())
            open->GiveWay();
        return true;
    case Answer::Absorb:
        if (!CDefaultDial::RaiseAsking())
            CDialDlg::BringToFront();
        return false;
    case Answer::Wait:
        return false;
    }
    return false;
}

void CDialWindowGate::Dial(Request request, const CDialerParts& parts, bool announce,
                           QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    if (Admit(request,
              [request, parts, announce, owner] { Dial(request, parts, announce, owner); }))
        CDefaultDial::Start(parts, announce, parent);
}

void CDialWindowGate::Check(CDialDlg::Mode mode, std::unique_ptr<CDialCheck> check, QWidget* parent)
{
    if (!check)
        return;
    const Request request =
        mode == CDialDlg::MailCheck ? Request::MailCheck : Request::UpgradeCheck;
    // A check that waits is kept until its turn (std::function wants a copyable callable).
    auto kept = std::make_shared<std::unique_ptr<CDialCheck>>(std::move(check));
    QPointer<QWidget> owner(parent);
    if (Admit(request, [mode, kept, owner] { Check(mode, std::move(*kept), owner); }))
        CDialDlg::RunCheck(mode, std::move(*kept), parent);
}

void CDialWindowGate::WindowClosed()
{
    // Once the closing window is gone (and not at all once the program ends).
    if (!QCoreApplication::instance())
        return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &CDialWindowGate::RunWaiting,
                              Qt::QueuedConnection);
}

void CDialWindowGate::RunWaiting()
{
    if (OpenWindow() != Window::None)
        return;
    if (const std::function<void()> run = Queue().TakeNext())
        run();
}
