#include "app/commandrouter.h"

#include "app/callcommands.h"
#include "app/commandwindows.h"
#include "app/mainwindowactions.h"

CCommandRouter::CCommandRouter(CCommandWindows& windows, CCallCommands& call,
                               CMainWindowActions& window, QObject* parent)
    : QObject(parent)
    , m_windows(windows)
    , m_call(call)
    , m_window(window)
{}

void CCommandRouter::Run(CCommandTable::Command number, CMessageBox::Question ask)
{
    const auto command = static_cast<CCommandTable::Command>(CCommandTable::Canonical(number));
    const int page = CCommandTable::PreferencesPage(command);
    if (page >= 0) {
        m_windows.OpenPreferences(static_cast<CPreferencesSheet::Page>(page));
        return;
    }
    switch (command) {
    case CCommandTable::Connect:
        m_call.Connect();
        break;
    case CCommandTable::Hangup:
        m_call.Hangup(ask);
        break;
    case CCommandTable::CheckMail:
        m_windows.CheckMailNow();
        break;
    case CCommandTable::CheckUpdate:
        m_windows.CheckUpdateNow();
        break;
    case CCommandTable::InetTools:
        m_windows.OpenInetTools();
        break;
    case CCommandTable::Connections:
        m_windows.OpenConnections();
        break;
    case CCommandTable::Security:
        m_windows.OpenSecurity();
        break;
    case CCommandTable::Timer:
        m_call.StartSchedule();
        m_windows.OpenSchedule();
        break;
    case CCommandTable::Report:
        m_windows.OpenReport();
        break;
    case CCommandTable::Statistics:
        m_windows.OpenStatistics();
        break;
    case CCommandTable::Summary:
        m_window.OpenSummary();
        break;
    case CCommandTable::Contents:
        m_window.OpenHelp();
        break;
    case CCommandTable::About:
        m_window.OpenAbout();
        break;
    case CCommandTable::Hide:
        m_window.HideWindow();
        break;
    case CCommandTable::Minimize:
        m_window.Minimize();
        break;
    case CCommandTable::Show:
        m_window.ShowWindow();
        break;
    case CCommandTable::Exit:
        m_window.Exit(ask);
        break;
    case CCommandTable::MailPreferences:
        // Opens on the General page; after OK the timers follow what was chosen there.
        if (m_windows.OpenPreferences(CPreferencesSheet::General))
            m_call.ReArm();
        break;
    case CCommandTable::HideMailIcon:
        Q_EMIT MailIconHideRequested();
        m_window.ClearMailCount();
        break;
    default:
        break;
    }
}

bool CCommandRouter::HandleRequest(const QByteArray& request)
{
    const auto command = static_cast<CCommandTable::Command>(CCommandTable::FromRequest(request));
    if (command == 0)
        return false;
    if (command == CCommandTable::Show && request == CCommandTable::kShowRequest) {
        Run(command);
        return true;
    }
    // Not inside the socket's handler. A command from outside asks its question on a real
    // display, with a box that closes itself while the window is hidden (a script may
    // have sent it); without a display nobody could answer, and it does what it says.
    QMetaObject::invokeMethod(
        this,
        [this, command] {
            Run(command, CShellCommandQuestion::For(m_place(), m_window.OnScreen()));
        },
        Qt::QueuedConnection);
    return true;
}
