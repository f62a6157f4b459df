#pragma once

#include "common/messagebox.h"

#include <QString>

// How a command sent from a shell (`orvalis --command hangup`, a key bound to it) asks the
// question its settings switch on. On a real display it asks: while the main window is
// hidden, which is how the program usually runs, with a box that closes itself and goes
// ahead (a script may have sent the command and nobody may be there); while the window is
// shown, with the box that waits. Without a display (offscreen, minimal, nothing to show
// on) nobody could answer, and the command is done without a question.
class CShellCommandQuestion {
public:
    // Where the program runs.
    struct Place {
        QString platform;     // the Qt platform plugin's name, empty without a window system
        bool display = false; // DISPLAY or WAYLAND_DISPLAY is set
    };

    static CMessageBox::Question For(const Place& place, bool windowShown);
    // Where this process runs.
    static Place Here();
};
