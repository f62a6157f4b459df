#include "app/featurestocome.h"

#include "ui/reportdlg.h"

CFeaturesToCome::~CFeaturesToCome()
{
    delete m_report;
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

void CFeaturesToCome::OpenInetTools() {}

bool CFeaturesToCome::OpenPreferences(int)
{
    return false;
}

void CFeaturesToCome::OpenConnections() {}

void CFeaturesToCome::OpenSecurity() {}

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
