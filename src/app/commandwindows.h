#pragma once

#include "prefs/preferencessheet.h"

// The windows and checks that commands of the main window open. Each comes with its own
// feature; the command router calls them through here.
class CCommandWindows {
public:
    virtual ~CCommandWindows() = default;

    virtual void CheckMailNow() = 0;
    virtual void CheckUpdateNow() = 0;
    virtual void OpenInetTools() = 0;
    // The preferences window on a page; true when it was closed with OK.
    virtual bool OpenPreferences(CPreferencesSheet::Page page) = 0;
    virtual void OpenConnections() = 0;
    virtual void OpenSecurity() = 0;
    virtual void OpenSchedule() = 0;
    virtual void OpenReport() = 0;
    virtual void OpenStatistics() = 0;
};
