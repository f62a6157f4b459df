#pragma once

#include "common/messagebox.h"

// What the main window itself does when a command asks for it.
class CMainWindowActions {
public:
    virtual ~CMainWindowActions() = default;

    virtual void ShowWindow() = 0;
    virtual void HideWindow() = 0;
    virtual void Minimize() = 0;
    // Ends the program, after the exit question when it is enabled, asked as `ask` says.
    virtual void Exit(CMessageBox::Question ask) = 0;
    virtual void OpenAbout() = 0;
    virtual void OpenSummary() = 0;
    virtual void OpenHelp() = 0;
    // Puts the "Email count:" value back to 0.
    virtual void ClearMailCount() = 0;
    // Whether the window can be seen: shown, not minimized, on a real display.
    virtual bool OnScreen() const = 0;
};
