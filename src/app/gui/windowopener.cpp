#include "app/gui/windowopener.h"

#include "billing/gui/reportdlg.h"
#include "billing/gui/statisticsdlg.h"
#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/gui/connectionsdlg.h"
#include "dialer/gui/scheduledlg.h"
#include "mail/maildialcheck.h"
#include "monitor/monitorsink.h"
#include "prefs/gui/preferencesdlg.h"
#include "prefs/preferencespage.h"
#include "security/gui/securitydlg.h"
#include "tools/gui/inettoolsdlg.h"
#include "update/upgradedialcheck.h"

#include <QApplication>

CWindowOpener::CWindowOpener(CWindowOpenerParts parts)
    : m_parts(std::move(parts))
    , m_pages(
          m_parts.store, m_parts.sound, m_parts.credentials, [this] { CheckMailNow(); },
          [this] { CheckUpdateNow(); }, m_parts.cycleUsage)
{}

CWindowOpener::~CWindowOpener()
{
    delete m_report;
    delete m_statistics;
    delete m_inetTools;
}

void CWindowOpener::CheckMailNow()
{
    m_parts.runCheck(CDialDlg::MailCheck,
                     std::make_unique<CMailDialCheck>(m_parts.store, m_parts.credentials));
}

void CWindowOpener::CheckUpdateNow()
{
    m_parts.runCheck(CDialDlg::UpgradeCheck, std::make_unique<CUpgradeDialCheck>(
                                                 CUpdateQuery::FromSettings(m_parts.store)));
}

void CWindowOpener::OpenInetTools()
{
    // Modal, but without a loop of its own: the program keeps counting calls meanwhile.
    if (!m_inetTools) {
        m_inetTools = new CInetToolsDlg(m_parts.store, QApplication::activeWindow());
        m_inetTools->setAttribute(Qt::WA_DeleteOnClose);
        m_inetTools->setWindowModality(Qt::ApplicationModal);
    }
    m_inetTools->show();
    m_inetTools->raise();
    m_inetTools->activateWindow();
}

bool CWindowOpener::OpenPreferences(CPreferencesSheet::Page page)
{
    const CPreferencesParts parts{
        [this](int made) { return m_pages.Make(static_cast<CPreferencesSheet::Page>(made)); },
        m_parts.mayOpenPreferences};
    return CPreferencesDlg::Open(parts, page, QApplication::activeWindow());
}

void CWindowOpener::OpenConnections()
{
    CConnectionsDlg::Open({m_parts.store, m_parts.remote, m_parts.credentials,
                           [this](const QString& line) { m_parts.messages.AddMessage(line); },
                           m_parts.mayRedial, m_parts.mayDialByHand},
                          QApplication::activeWindow());
}

void CWindowOpener::OpenSecurity()
{
    CSecurityDlg::Open(m_parts.store, QApplication::activeWindow());
}

void CWindowOpener::OpenSchedule()
{
    CScheduleDlg::Open(m_parts.ticker, m_parts.store, m_parts.mayOpenSchedule,
                       QApplication::activeWindow());
}

void CWindowOpener::OpenReport()
{
    // One report window: asking again brings the open one to the front.
    if (!m_report) {
        m_report = new CReportDlg(m_parts.store);
        m_report->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_report->setWindowState(m_report->windowState() & ~Qt::WindowMinimized);
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
}

void CWindowOpener::OpenStatistics()
{
    // One statistics window, like the report window.
    if (!m_statistics) {
        m_statistics = new CStatisticsDlg(m_parts.store);
        m_statistics->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_statistics->setWindowState(m_statistics->windowState() & ~Qt::WindowMinimized);
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
}
