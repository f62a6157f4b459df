#pragma once

#include "monitor/monitorservices.h"

// Stands in for dialing, the mail and upgrade checks and the schedules until the program
// has them: each does nothing, and the schedule never fires.
class CPlaceholderServices : public CMonitorServices {
public:
    void DialDefaultConnection() override;
    void StartMailCheckWorker() override;
    void StartUpgradeCheck() override;
    int ScheduleTick() override;
};
