#include "app/featurestocome.h"

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

void CFeaturesToCome::OpenReport() {}
