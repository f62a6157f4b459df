#include "app/featurestocome.h"

#include "common/apppaths.h"
#include "common/settingsstore.h"
#include "ui/securitydlg.h"

#include <QApplication>

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

void CFeaturesToCome::OpenSecurity()
{
    // The store keeps nothing in memory, so one opened on the program's settings file sees
    // and writes exactly what the program's own does.
    CSettingsStore store(CAppPaths::SettingsFile(QCoreApplication::applicationDirPath()));
    CSecurityDlg::Open(store, QApplication::activeWindow());
}

void CFeaturesToCome::OpenSchedule() {}

void CFeaturesToCome::OpenReport() {}
