#include "app/featurestocome.h"

#include "app/optgeneralpage.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "prefs/optplaceholderpage.h"
#include "prefs/optpricepage.h"
#include "prefs/optsoundpage.h"
#include "prefs/optupgradepage.h"
#include "prefs/optwarningspage.h"
#include "prefs/preferencesdlg.h"
#include "tools/inettoolsdlg.h"
#include "ui/reportdlg.h"
#include "ui/securitydlg.h"

#include <QApplication>

CFeaturesToCome::CFeaturesToCome(CSettingsStore& store, CSoundPlayer& sound)
    : m_store(&store)
    , m_sound(&sound)
{}

CFeaturesToCome::~CFeaturesToCome()
{
    delete m_report;
    delete m_inetTools;
}

void CFeaturesToCome::DialDefaultConnection() {}

void CFeaturesToCome::StartMailCheckWorker() {}

void CFeaturesToCome::StartUpgradeCheck() {}

int CFeaturesToCome::ScheduleTick()
{
    return 0;
}

void CFeaturesToCome::CheckMailNow() {}

void CFeaturesToCome::CheckUpdateNow() {}

void CFeaturesToCome::OpenInetTools()
{
    if (!m_store)
        return;
    // Modal, but without a loop of its own: the program keeps counting calls meanwhile.
    if (!m_inetTools) {
        m_inetTools = new CInetToolsDlg(*m_store, QApplication::activeWindow());
        m_inetTools->setAttribute(Qt::WA_DeleteOnClose);
        m_inetTools->setWindowModality(Qt::ApplicationModal);
    }
    m_inetTools->show();
    m_inetTools->raise();
    m_inetTools->activateWindow();
}

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
        // Until dialing arrives.
        return std::make_unique<COptPlaceholderPage>(
            QStringLiteral("Connection"),
            QStringLiteral("This page will set what Orvalis does when the line is busy (redial "
                           "a number of times, redial till connected, or not at all), which web "
                           "page opens once a call connects, whether to dial again when the "
                           "other side hangs up, and what to do while connected every few "
                           "minutes: nothing, hang up when the line is idle, or stay online. "
                           "It comes with dialing."));
    case CPreferencesSheet::Email:
        // Until the mail check arrives.
        return std::make_unique<COptPlaceholderPage>(
            QStringLiteral("E-mail checking"),
            QStringLiteral("This page will set how often Orvalis checks your incoming mail, "
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
        // Until the upgrade check arrives, its button says so.
        return std::make_unique<COptUpgradePage>(*m_store, [] {
            CMessageBox::Inform(QStringLiteral("The upgrade check is not available yet."));
        });
    default:
        return nullptr;
    }
}

void CFeaturesToCome::OpenConnections() {}

void CFeaturesToCome::OpenSecurity()
{
    if (m_store)
        CSecurityDlg::Open(*m_store, QApplication::activeWindow());
}

void CFeaturesToCome::OpenSchedule() {}

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
