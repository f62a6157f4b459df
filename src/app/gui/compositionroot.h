#pragma once

#include "dbus/busservice.h"
#include "dialer/credentialstore.h"
#include "dialer/remoteaccess.h"
#include "monitor/desktopnotifier.h"
#include "monitor/trafficcounters.h"
#include "sound/soundplayer.h"

#include <QString>

#include <memory>

class CBackgroundWork;
class CCommandRouter;
class CConnectionMonitor;
class CMailResultSlot;
class CMainDlg;
class CMainWindowHolder;
class CMonitorCallCommands;
class CMonitorDisplay;
class CProgramEnd;
class CScheduleTicker;
class CSettingsStore;
class CTrayController;
class CUpgradeNotifier;
class CWindowOpener;

// The services the program stands on, made from the command line (or by a test).
struct CPlatform {
    std::unique_ptr<CCredentialStore> credentials;
    std::unique_ptr<CRemoteAccess> remoteAccess;
    // Null when the counter worker could not start: calls are still watched, with byte
    // counts of 0.
    std::unique_ptr<CTrafficCounters> counters;
    std::unique_ptr<CSoundPlayer> sound;
    // Where the data plan's warnings go; null: the program's own box.
    std::unique_ptr<CDesktopNotifier> notifier;
};

// Builds every service and window of the program once, each with what it needs, and keeps
// them for the run: the monitor, what it shows through, the windows that commands open,
// the command router, the tray icons and the main window (built when first needed).
class CCompositionRoot {
public:
    // The platform for the backend named on the command line ("auto", "nm", "sim"). Its
    // remote access is null when the connection backend cannot be made; `note` then says
    // why. Otherwise `note` may carry a line for the message list (the backend chosen).
    static CPlatform BuildPlatform(const QString& backend, CSettingsStore& store, QString* note);

    CCompositionRoot(CSettingsStore& store, CPlatform platform);
    ~CCompositionRoot();
    CCompositionRoot(const CCompositionRoot&) = delete;
    CCompositionRoot& operator=(const CCompositionRoot&) = delete;

    // Puts up the tray icons and the main window and starts the monitor.
    void Open();

    CConnectionMonitor& Monitor() const { return *m_monitor; }
    CMonitorDisplay& Display() const { return *m_display; }
    CCommandRouter& Router() const { return *m_router; }
    // The main window, built now if it was not yet.
    CMainDlg& Window() const;
    CMainWindowHolder& WindowHolder() const { return *m_window; }
    // What requests from the session bus do: dial as the program does, hang up and check
    // without a question.
    CBusService::Actions BusActions();

private:
    CSettingsStore& m_store;
    CPlatform m_platform;
    std::shared_ptr<CMailResultSlot> m_mailSlot;
    std::unique_ptr<CUpgradeNotifier> m_upgrades;
    std::unique_ptr<CScheduleTicker> m_ticker;
    std::unique_ptr<CMonitorDisplay> m_display;
    // The current billing cycle's figures from the log, for the Data plan page.
    std::unique_ptr<CBackgroundWork> m_work;
    std::unique_ptr<CWindowOpener> m_windows;
    std::unique_ptr<CConnectionMonitor> m_monitor;
    std::unique_ptr<CProgramEnd> m_end;
    std::unique_ptr<CMainWindowHolder> m_window;
    std::unique_ptr<CMonitorCallCommands> m_callCommands;
    std::unique_ptr<CCommandRouter> m_router;
    std::unique_ptr<CTrayController> m_tray;
};
