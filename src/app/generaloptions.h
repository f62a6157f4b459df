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

    // Reads every value with its default.
    static CGeneralOptions Load(const CSettingsStore& store);

    // Stores the values: moves the log to the new folder first, then writes IniPath,
    // StartWhenWindows with the autostart entry, ConfirmHangup, ConfirmExit, HideOnStart,
    // ShowSplash and ShowWhenConnected, in that order. `executable` is what the autostart
    // entry starts.
    void Store(CSettingsStore& store, const QString& executable) const;
};
