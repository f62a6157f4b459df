#pragma once

// The work the monitor starts but does not do itself: dialing, the mail check, the
// upgrade check and the schedules. Each is built elsewhere; the composition root passes
// them in.
class CMonitorServices {
public:
    virtual ~CMonitorServices();

    // Who asks for a dial: the user, or the program itself (a redial, a scheduled dial),
    // whose dial must not be lost to a window that happens to be open.
    enum class DialAsker { User, Program };

    // Dials the default connection (the Connect command, automatic redial, schedule
    // result 1).
    virtual void DialDefaultConnection(DialAsker asker) = 0;
    // Starts a background mail check; its result text goes to the monitor's mail result
    // field (CConnectionMonitor::SetMailResult), from any thread.
    virtual void StartMailCheckWorker() = 0;
    // Starts the background upgrade query.
    virtual void StartUpgradeCheck() = 0;
    // One tick of the schedules: 1 dial, 2 hang up, anything else nothing.
    virtual int ScheduleTick() = 0;
};
