#pragma once

// The windows and checks that commands of the main window open. Each comes with its own
// feature; the main window calls them through here.
class CCommandWindows {
public:
    virtual ~CCommandWindows() = default;

    virtual void CheckMailNow() = 0;
    virtual void CheckUpdateNow() = 0;
    virtual void OpenInetTools() = 0;
    // The preferences window on a page (0 General, 1 Connection, 2 Email Watch, 3 Warnings,
    // 4 Price, 5 Sounds, 6 Upgrade); true when it was closed with OK.
    virtual bool OpenPreferences(int page) = 0;
    virtual void OpenConnections() = 0;
    virtual void OpenSecurity() = 0;
    virtual void OpenSchedule() = 0;
    virtual void OpenReport() = 0;
};
