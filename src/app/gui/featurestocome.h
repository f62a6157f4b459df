#pragma once

#include "monitor/monitorservices.h"
#include "app/commandwindows.h"

#include <QPointer>

#include <functional>
#include <memory>

class CCredentialStore;
class CDialCheck;
class CMailResultSlot;
class CPreferencesPage;
class CRemoteAccess;
class CInetToolsDlg;
class CReportDlg;
class CScheduleTicker;
class CSettingsStore;
class CSoundPlayer;
class CUpgradeNotifier;

// The one place where features that the program does not have yet plug in: dialing, the
// mail and upgrade checks, and the windows that commands open (preferences, connections,
// security, schedule, report, Internet tools). Until a feature arrives its part does
// nothing: no window opens, no line is added. Each feature replaces its part here when it
// lands.
class CFeaturesToCome : public CMonitorServices, public CCommandWindows {
public:
    // Without the settings and the sound player no preferences window opens.
    CFeaturesToCome();
    CFeaturesToCome(CSettingsStore& store, CSoundPlayer& sound);
    ~CFeaturesToCome() override;
    CFeaturesToCome(const CFeaturesToCome&) = delete;
    CFeaturesToCome& operator=(const CFeaturesToCome&) = delete;

    // Asked before the preferences window shows anything (the password for changes);
    // unset, it always opens.
    void SetPreferencesGuard(std::function<bool()> mayOpen) { m_mayOpen = std::move(mayOpen); }
    // Asked before the schedule window shows anything; unset, it always opens.
    void SetScheduleGuard(std::function<bool()> mayOpen) { m_mayOpenSchedule = std::move(mayOpen); }
    // Where the results of background mail checks go (from the checks' threads); an empty
    // receiver drops them. Clear it before the receiver goes away.
    void SetMailResultSink(std::function<void(const QString& result)> sink);
    // The on-demand mail check, for the dial window.
    std::unique_ptr<CDialCheck> MakeMailDialCheck();
    // Dialing works once the connection backend is known; addMessage adds a line to the
    // main window's message list.
    void SetRemoteAccess(CRemoteAccess& remote);
    void SetMessageSink(std::function<void(const QString&)> addMessage);

    // The page of a tree position of the preferences window.
    std::unique_ptr<CPreferencesPage> MakePreferencesPage(int page);
    // The on-demand upgrade check for the dial window; null without the settings.
    std::unique_ptr<CDialCheck> MakeUpgradeCheck() const;
    // What shows a check of the dial window (mode 1 upgrade, 2 mail): "Check update" and
    // the Upgrade page's button hand it MakeUpgradeCheck(), "Check mail" and the Email
    // page's button MakeMailDialCheck(). Unset, the Upgrade page's button says the check is
    // not there yet.
    using CheckRunner = std::function<void(int mode, std::unique_ptr<CDialCheck> check)>;
    void SetCheckRunner(CheckRunner run) { m_runCheck = std::move(run); }

    // What the monitor starts.
    void DialDefaultConnection() override;
    void StartMailCheckWorker() override;
    void StartUpgradeCheck() override;
    int ScheduleTick() override;

    // What commands of the main window open.
    void CheckMailNow() override;
    void CheckUpdateNow() override;
    // Opens the Internet tools window, or brings the open one to the front.
    void OpenInetTools() override;
    bool OpenPreferences(int page) override;
    void OpenConnections() override;
    void OpenSecurity() override;
    void OpenSchedule() override;
    // Opens the report window, or brings the open one to the front.
    void OpenReport() override;

private:
    // The schedules, made when first needed; null without the settings.
    CScheduleTicker* Ticker();

    CSettingsStore* m_store = nullptr;
    CSoundPlayer* m_sound = nullptr;
    std::function<bool()> m_mayOpen;
    std::function<bool()> m_mayOpenSchedule;
    std::unique_ptr<CScheduleTicker> m_ticker;
    CheckRunner m_runCheck;
    std::unique_ptr<CUpgradeNotifier> m_upgradeNotifier;
    QPointer<CReportDlg> m_report;
    std::shared_ptr<CMailResultSlot> m_mailSlot;
    CRemoteAccess* m_remote = nullptr;
    std::unique_ptr<CCredentialStore> m_credentials;
    std::function<void(const QString&)> m_addMessage;
    QPointer<CInetToolsDlg> m_inetTools;
};
