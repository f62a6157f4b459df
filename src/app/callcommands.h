#pragma once

// What commands ask of the call: dial, hang up, start the schedules, follow changed
// preferences.
class CCallCommands {
public:
    virtual ~CCallCommands() = default;

    virtual void Connect() = 0;
    // `ask` false hangs up without the question.
    virtual void Hangup(bool ask) = 0;
    virtual void StartSchedule() = 0;
    // After the preferences were changed: the timers follow the settings.
    virtual void ReArm() = 0;
};
