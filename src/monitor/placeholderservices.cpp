#include "monitor/placeholderservices.h"

void CPlaceholderServices::DialDefaultConnection() {}

void CPlaceholderServices::StartMailCheckWorker() {}

void CPlaceholderServices::StartUpgradeCheck() {}

int CPlaceholderServices::ScheduleTick()
{
    return 0;
}
