#include "app/featurestocome.h"

#include "app/optgeneralpage.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/scheduleticker.h"
#include "monitor/upgradedialcheck.h"
#include "monitor/upgradenotifier.h"
#include "prefs/opthanguppage.h"
#include "prefs/optplaceholderpage.h"
#include "prefs/optpricepage.h"
#include "prefs/optsoundpage.h"
#include "prefs/optupgradepage.h"
#include "prefs/optwarningspage.h"
#include "prefs/preferencesdlg.h"
#include "prefs/scheduledlg.h"
#include "ui/reportdlg.h"
#include "ui/securitydlg.h"

#include <QApplication>
#include <QCoreApplication>

// Out of line: the schedule ticker is only declared in the header.
CFeaturesToCome::CFeaturesToCome() = default;

CFeaturesToCome::CFeaturesToCome(CSettingsStore& store, CSoundPlayer& sound)
    : m_store(&store)
    , m_sound(&sound)
    , m_upgradeNotifier(std::make_unique<CUpgradeNotifier>(store))
{}

CFeaturesToCome::~CFeaturesToCome()
{
    delete m_report;
}

void CFeaturesToCome::DialDefaultConnection() {}

void CFeaturesToCome::StartMailCheckWorker() {}

void CFeaturesToCome::StartUpgradeCheck()
{
    if (m_upgradeNotifier)
        m_upgradeNotifier->Start();
}

int CFeaturesToCome::ScheduleTick()
{
    CScheduleTicker* ticker = Ticker();
    return ticker ? ticker->Tick() : CScheduleTicker::Nothing;
}

CScheduleTicker* CFeaturesToCome::Ticker()
{
    if (!m_ticker && m_store)
        m_ticker = std::make_unique<CScheduleTicker>(*m_store);
    return m_ticker.get();
}

void CFeaturesToCome::CheckMailNow() {}

void CFeaturesToCome::CheckUpdateNow()
{
    if (m_runCheck && m_store)
        m_runCheck(MakeUpgradeCheck());
}

void CFeaturesToCome::OpenInetTools() {}

bool CFeaturesToCome::OpenPreferences(int page)
{
    if (!m_store || !m_sound)
        return false;
    const CPreferencesParts parts{[this](int made) { return MakePreferencesPage(made); },
                                  m_mayOpen};
    return CPreferencesDlg::Open(parts, page, QApplication::activeWindow());
}

std::unique_ptr<CPreferencesPage> CFeaturesToCome::MakePreferencesPage(int page)
{
    switch (page) {
    case CPreferencesSheet::General:
        return std::make_unique<COptGeneralPage>(*m_store);
    case CPreferencesSheet::Connection:
        return std::make_unique<COptHangupPage>(*m_store);
    case CPreferencesSheet::Email:
        // Until the mail check arrives.
        return std::make_unique<COptPlaceholderPage>(
            QCoreApplication::translate("CFeaturesToCome", "E-mail checking"),
            QCoreApplication::translate(
                "CFeaturesToCome",
                "This page will set how often Orvalis checks your incoming mail, "
                "whether it checks as soon as a connection is made, and your mail "
                "user name, password and POP server, with a button to check now. "
                "It comes with the mail check."));
    case CPreferencesSheet::Warnings:
        return std::make_unique<COptWarningsPage>(*m_store);
    case CPreferencesSheet::Price:
        return std::make_unique<COptPricePage>(*m_store);
    case CPreferencesSheet::Sounds:
        return std::make_unique<COptSoundPage>(*m_store, *m_sound);
    case CPreferencesSheet::Upgrade:
        return std::make_unique<COptUpgradePage>(*m_store, [this] {
            if (m_runCheck)
                CheckUpdateNow();
            else
                CMessageBox::Inform(QCoreApplication::translate(
                    "CFeaturesToCome", "The upgrade check is not available yet."));
        });
    default:
        return nullptr;
    }
}

std::unique_ptr<CDialCheck> CFeaturesToCome::MakeUpgradeCheck() const
{
    if (!m_store)
        return nullptr;
    return std::make_unique<CUpgradeDialCheck>(CUpdateQuery::FromSettings(*m_store));
}

void CFeaturesToCome::OpenConnections() {}

void CFeaturesToCome::OpenSecurity()
{
    if (m_store)
        CSecurityDlg::Open(*m_store, QApplication::activeWindow());
}

void CFeaturesToCome::OpenSchedule()
{
    if (CScheduleTicker* ticker = Ticker())
        CScheduleDlg::Open(*ticker, *m_store, m_mayOpenSchedule, QApplication::activeWindow());
}

void CFeaturesToCome::OpenReport()
{
    if (!m_store)
        return;
    // One report window: asking again brings the open one to the front.
    if (!m_report) {
        m_report = new CReportDlg(*m_store);
        m_report->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_report->setWindowState(m_report->windowState() & ~Qt::WindowMinimized);
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
}
