#pragma once

#include <QString>

class CSettingsStore;

// What the "General" preferences page shows and stores: the log folder, the start-up
// flags and the confirmations.
struct CGeneralOptions {
    QString logFolder;
    bool startWithDesktop = true;
    bool showMainWindow = true;
    bool showSplash = true;
    bool showWhenConnected = false;
    bool confirmHangup = true;
    bool confirmExit = true;

    // Reads every value with its default. A stored log folder no folder can have (see
    // CAppPaths::IsValidFolderText) shows as the default folder, where the log is kept.
    static CGeneralOptions Load(const CSettingsStore& store);

    // Stores the values: moves the log to the new folder first, then writes IniPath,
    // StartWhenWindows with the autostart entry, ConfirmHangup, ConfirmExit, HideOnStart,
    // ShowSplash and ShowWhenConnected, in that order. `executable` is what the autostart
    // entry starts. A log folder holding a NUL or a line break is refused with a message:
    // the log stays where it is and IniPath keeps its value; the other values are still
    // stored. False when the folder was refused.
    bool Store(CSettingsStore& store, const QString& executable) const;
};
