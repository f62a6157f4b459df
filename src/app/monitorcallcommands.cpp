#include "app/monitorcallcommands.h"

#include "monitor/connectionmonitor.h"
#include "monitor/monitorservices.h"

CMonitorCallCommands::CMonitorCallCommands(CConnectionMonitor& monitor, CMonitorServices& services)
    : m_monitor(monitor)
    , m_services(services)
{}

void CMonitorCallCommands::Connect()
{
    // Past the data plan's cap the user decides.
    if (m_monitor.PlanWatch().MayDialByHand())
        m_services.DialDefaultConnection(CMonitorServices::DialAsker::User);
}

void CMonitorCallCommands::Hangup(CMessageBox::Question ask)
{
    m_monitor.HangupCommand(ask);
}

void CMonitorCallCommands::StartSchedule()
{
    m_monitor.StartScheduleTicker();
}

void CMonitorCallCommands::ReArm()
{
    m_monitor.ReArm();
}
