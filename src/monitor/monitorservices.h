#pragma once

// The work the monitor starts but does not do itself: dialing, the mail check, the
// upgrade check and the schedules. Each is built elsewhere; the composition root passes
// them in.
class CMonitorServices {
public:
    virtual ~CMonitorServices();

    // Dials the default connection (automatic redial, schedule result 1).
    virtual void DialDefaultConnection() = 0;
    // Starts a background mail check; its result text goes to the monitor's mail result
    // field (CConnectionMonitor::SetMailResult), from any thread.
    virtual void StartMailCheckWorker() = 0;
    // Starts the background upgrade query.
    virtual void StartUpgradeCheck() = 0;
    // One tick of the schedules: 1 dial, 2 hang up, anything else nothing.
    virtual int ScheduleTick() = 0;
};
