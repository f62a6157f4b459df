#pragma once

#include "app/commandwindows.h"
#include "app/gui/preferencespagefactory.h"
#include "dialer/dialcheck.h"
#include "dialer/gui/dialdlg.h"

#include <QPointer>

#include <functional>
#include <memory>

class CCredentialStore;
class CInetToolsDlg;
class CMonitorSink;
class CRemoteAccess;
class CReportDlg;
class CScheduleTicker;
class CSettingsStore;
class CSoundPlayer;
class CStatisticsDlg;

// What the windows that commands open work with.
struct CWindowOpenerParts {
    CSettingsStore& store;
    CSoundPlayer& sound;
    CRemoteAccess& remote;
    CCredentialStore& credentials;
    CScheduleTicker& ticker;
    // Where the connection windows' lines go (the main window's list).
    CMonitorSink& messages;
    // Asked before the preferences and the schedule window show anything (the password).
    std::function<bool()> mayOpenPreferences;
    std::function<bool()> mayOpenSchedule;
    // Shows a check of the dial window (the update or the mail check).
    std::function<void(CDialDlg::Mode mode, std::unique_ptr<CDialCheck> check)> runCheck;
    // The figures of the current billing cycle, for the Data plan page.
    std::function<CCycleUsage()> cycleUsage;
    // The data plan's word on dialling from the Connections window: a busy line's redial,
    // and a dial by hand past the cap (which asks). Empty: yes.
    std::function<bool()> mayRedial = {};
    std::function<bool()> mayDialByHand = {};
};

// Opens the windows and checks of the commands: preferences, connections, security,
// schedule, report, statistics, Internet tools, and the mail and update checks in the dial window.
class CWindowOpener : public CCommandWindows {
public:
    explicit CWindowOpener(CWindowOpenerParts parts);
    ~CWindowOpener() override;
    CWindowOpener(const CWindowOpener&) = delete;
    CWindowOpener& operator=(const CWindowOpener&) = delete;

    void CheckMailNow() override;
    void CheckUpdateNow() override;
    // Opens the Internet tools window, or brings the open one to the front.
    void OpenInetTools() override;
    bool OpenPreferences(CPreferencesSheet::Page page) override;
    void OpenConnections() override;
    void OpenSecurity() override;
    void OpenSchedule() override;
    // Opens the report window, or brings the open one to the front.
    void OpenReport() override;
    // Opens the statistics window, or brings the open one to the front.
    void OpenStatistics() override;

    const CPreferencesPageFactory& Pages() const { return m_pages; }

private:
    CWindowOpenerParts m_parts;
    CPreferencesPageFactory m_pages;
    QPointer<CReportDlg> m_report;
    QPointer<CStatisticsDlg> m_statistics;
    QPointer<CInetToolsDlg> m_inetTools;
};
