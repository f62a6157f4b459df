#include "app/gui/compositionroot.h"

#include "app/commandrouter.h"
#include "app/gui/backgroundwork.h"
#include "app/gui/maindlg.h"
#include "app/gui/mainwindowholder.h"
#include "app/gui/traycontroller.h"
#include "app/gui/windowopener.h"
#include "app/monitorcallcommands.h"
#include "app/programend.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "common/username.h"
#include "dialer/backends/remoteaccessfactory.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/credentialstore.h"
#include "dialer/gui/dialwindowgate.h"
#include "dialer/scheduleticker.h"
#include "mail/mailresultslot.h"
#include "monitor/connectionmonitor.h"
#include "monitor/counterworker.h"
#include "monitor/monitordisplay.h"
#include "security/gui/passworddlg.h"
#include "sound/soundmodule.h"
#include "update/upgradenotifier.h"

#include <QApplication>
#include <QCoreApplication>

CPlatform CCompositionRoot::BuildPlatform(const QString& backend, CSettingsStore& store,
                                          QString* note)
{
    CPlatform platform;
    // One credential store for the whole program: the windows and the backend share it.
    platform.credentials = std::make_unique<CCredentialStore>(&store);
    platform.remoteAccess = CRemoteAccessFactory::Create(
        backend, CSimRemoteAccess::DefaultFile(store.Path()), platform.credentials.get(), note);
    if (!platform.remoteAccess)
        return platform;

    // The traffic counters run on a worker of their own.
    auto worker = std::make_unique<CCounterWorker>(platform.remoteAccess.get());
    if (worker->Start()) {
        worker->SetQueryEnabled(true);
        platform.counters = std::move(worker);
    } else {
        CMessageBox::Inform(QCoreApplication::translate(
            "CCompositionRoot", "The traffic counters could not be started: bytes in and out "
                                "are not counted until Orvalis is started again."));
    }
    platform.sound = std::make_unique<CSoundModule>();
    platform.notifier = std::make_unique<CDesktopNotifier>(QDBusConnection::sessionBus());
    return platform;
}

CCompositionRoot::CCompositionRoot(CSettingsStore& store, CPlatform platform)
    : m_store(store)
    , m_platform(std::move(platform))
    , m_mailSlot(std::make_shared<CMailResultSlot>())
    , m_upgrades(std::make_unique<CUpgradeNotifier>(store))
    , m_ticker(std::make_unique<CScheduleTicker>(store))
    , m_display(std::make_unique<CMonitorDisplay>())
{
    CRemoteAccess& remote = *m_platform.remoteAccess;
    CCredentialStore& credentials = *m_platform.credentials;
    // A scheduled dial that waits for the dial window says so in the schedule's status line.
    m_ticker->SetDialWaits(
        [] { return CDialWindowGate::Queue().IsWaiting(CDialRequestQueue::Request::ProgramDial); });
    m_work = std::make_unique<CBackgroundWork>(store, remote, credentials, *m_ticker, *m_upgrades,
                                               m_mailSlot, *m_display);
    m_windows = std::make_unique<CWindowOpener>(CWindowOpenerParts{
        store, *m_platform.sound, remote, credentials, *m_ticker, *m_display,
        // The preferences and the schedule ask for the lock password first when
        // protection covers them.
        [&store] {
            return CPasswordDlg::Guard(store, QApplication::activeWindow()).MayOpenPreferences();
        },
        [&store] {
            return CPasswordDlg::Guard(store, QApplication::activeWindow()).MayOpenSchedule();
        },
        [](CDialDlg::Mode mode, std::unique_ptr<CDialCheck> check) {
            CDialWindowGate::Check(mode, std::move(check), QApplication::activeWindow());
        },
        // What the Data plan page shows of the current cycle: the monitor's usage, with the
        // call in progress (the monitor is built below, before any window opens).
        [this] { return m_monitor->Usage(); },
        [this] { return m_monitor->PlanWatch().MayDialOnItsOwn(); },
        [this] { return m_monitor->PlanWatch().MayDialByHand(); }});
    m_monitor = std::make_unique<CConnectionMonitor>(store, remote, m_platform.counters.get(),
                                                     *m_display, *m_work, *m_platform.sound);
    m_monitor->SetNotifier(m_platform.notifier.get());
    // A busy line is dialled again only while the data plan allows dialling on its own.
    m_work->SetMayRedial(
        [monitor = m_monitor.get()] { return monitor->PlanWatch().MayDialOnItsOwn(); });
    // Background mail checks report to the monitor, until it goes.
    m_mailSlot->Set(
        [monitor = m_monitor.get()](const QString& result) { monitor->SetMailResult(result); });
    m_end = std::make_unique<CProgramEnd>(store, m_platform.counters.get(), *m_monitor);
    // The main window itself is built when it is first needed.
    m_window = std::make_unique<CMainWindowHolder>(store, *m_end, *m_display);
    m_callCommands = std::make_unique<CMonitorCallCommands>(*m_monitor, *m_work);
    m_router = std::make_unique<CCommandRouter>(*m_windows, *m_callCommands, *m_window);
    QObject::connect(
        m_window.get(), &CMainWindowHolder::CommandChosen, m_router.get(),
        [router = m_router.get()](CCommandTable::Command command) { router->Run(command); });
    m_tray = std::make_unique<CTrayController>(*m_display, *m_router);
}

CMainDlg& CCompositionRoot::Window() const
{
    return m_window->Window();
}

CCompositionRoot::~CCompositionRoot()
{
    m_mailSlot->Clear();
    m_monitor->Shutdown();
    // Dials and checks that wait for the dial window work with what goes below.
    CDialWindowGate::Queue().Clear();
    // The windows that commands opened go before what they work with.
    m_tray.reset();
    m_router.reset();
    m_windows.reset();
    m_window.reset();
    m_end.reset();
    m_monitor.reset();
    // The counters read through the connection backend: stop them first.
    m_platform.counters.reset();
    m_platform.remoteAccess.reset();
}

CBusService::Actions CCompositionRoot::BusActions()
{
    using Command = CCommandTable::Command;
    using Window = CDialRequestQueue::Window;
    using Request = CDialRequestQueue::Request;
    CCommandRouter* router = m_router.get();
    const auto run = [router](Command command) {
        return [router, command] { router->Run(command, CMessageBox::Question::None); };
    };
    return {
        [remote = m_platform.remoteAccess.get()] {
            QStringList entries;
            remote->EnumEntries(entries);
            return entries;
        },
        [work = m_work.get()] {
            work->DialDefaultConnection(CMonitorServices::DialAsker::Program);
        },
        [] {
            const Window open = CDialWindowGate::OpenWindow();
            const CDialRequestQueue& queue = CDialWindowGate::Queue();
            return open == Window::Credentials || open == Window::DialRunning ||
                   queue.IsWaiting(Request::ProgramDial) || queue.IsWaiting(Request::HandDial);
        },
        run(Command::Hangup),
        run(Command::CheckMail),
        run(Command::CheckUpdate),
        run(Command::Show),
    };
}

void CCompositionRoot::Open()
{
    m_tray->Create();
    m_window->Open(m_tray->ConnectionTray().IsAvailable());
    m_monitor->Start(CUserName::Current());
}
