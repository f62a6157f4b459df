#pragma once

#include "app/callcommands.h"

class CConnectionMonitor;
class CMonitorServices;

// The call commands as the connection monitor and its services carry them out.
class CMonitorCallCommands : public CCallCommands {
public:
    CMonitorCallCommands(CConnectionMonitor& monitor, CMonitorServices& services);

    void Connect() override;
    void Hangup(CMessageBox::Question ask) override;
    void StartSchedule() override;
    void ReArm() override;

private:
    CConnectionMonitor& m_monitor;
    CMonitorServices& m_services;
};
