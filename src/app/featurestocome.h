#pragma once

#include "monitor/monitorservices.h"
#include "ui/commandwindows.h"

#include <QPointer>

#include <functional>
#include <memory>

class CPreferencesPage;
class CInetToolsDlg;
class CReportDlg;
class CSettingsStore;
class CSoundPlayer;

// The one place where features that the program does not have yet plug in: dialing, the
// mail and upgrade checks, the schedules, and the windows that commands open (preferences,
// connections, security, schedule, report, Internet tools). Until a feature arrives its
// part does nothing: no window opens, no line is added, the schedule never fires. Each
// feature replaces its part here when it lands.
class CFeaturesToCome : public CMonitorServices, public CCommandWindows {
public:
    // Without the settings and the sound player no preferences window opens.
    CFeaturesToCome() = default;
    CFeaturesToCome(CSettingsStore& store, CSoundPlayer& sound);
    ~CFeaturesToCome() override;
    CFeaturesToCome(const CFeaturesToCome&) = delete;
    CFeaturesToCome& operator=(const CFeaturesToCome&) = delete;

    // Asked before the preferences window shows anything (the password for changes);
    // unset, it always opens.
    void SetPreferencesGuard(std::function<bool()> mayOpen) { m_mayOpen = std::move(mayOpen); }
    // The page of a tree position of the preferences window.
    std::unique_ptr<CPreferencesPage> MakePreferencesPage(int page);

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
    CSettingsStore* m_store = nullptr;
    CSoundPlayer* m_sound = nullptr;
    std::function<bool()> m_mayOpen;
    QPointer<CReportDlg> m_report;
    QPointer<CInetToolsDlg> m_inetTools;
};
