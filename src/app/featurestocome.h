#pragma once

#include "monitor/monitorservices.h"
#include "ui/commandwindows.h"

#include <QPointer>

class CReportDlg;
class CSettingsStore;

// The one place where features that the program does not have yet plug in: dialing, the
// mail and upgrade checks, the schedules, and the windows that commands open (preferences,
// connections, security, schedule, report, Internet tools). Until a feature arrives its
// part does nothing: no window opens, no line is added, the schedule never fires. Each
// feature replaces its part here when it lands.
class CFeaturesToCome : public CMonitorServices, public CCommandWindows {
public:
    CFeaturesToCome() = default;
    ~CFeaturesToCome() override;
    CFeaturesToCome(const CFeaturesToCome&) = delete;
    CFeaturesToCome& operator=(const CFeaturesToCome&) = delete;

    // The settings the windows opened from here work on; without them they do not open.
    void UseStore(CSettingsStore& store) { m_store = &store; }

    // What the monitor starts.
    void DialDefaultConnection() override;
    void StartMailCheckWorker() override;
    void StartUpgradeCheck() override;
    int ScheduleTick() override;

    // What commands of the main window open.
    void CheckMailNow() override;
    void CheckUpdateNow() override;
    void OpenInetTools() override;
    bool OpenPreferences(int page) override;
    void OpenConnections() override;
    void OpenSecurity() override;
    void OpenSchedule() override;
    // Opens the report window, or brings the open one to the front.
    void OpenReport() override;

private:
    CSettingsStore* m_store = nullptr;
    QPointer<CReportDlg> m_report;
};
