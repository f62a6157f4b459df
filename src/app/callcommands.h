#pragma once

#include "common/messagebox.h"

// What commands ask of the call: dial, hang up, start the schedules, follow changed
// preferences.
class CCallCommands {
public:
    virtual ~CCallCommands() = default;

    virtual void Connect() = 0;
    // Hangs up with the question asked as `ask` says (when the settings want one).
    virtual void Hangup(CMessageBox::Question ask) = 0;
    virtual void StartSchedule() = 0;
    // After the preferences were changed: the timers follow the settings.
    virtual void ReArm() = 0;
};
