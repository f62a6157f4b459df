#pragma once

#include <QString>

class CSettingsStore;

// Where the program keeps its files.
class CAppPaths {
public:
    // "ov.ini" beside the executable when one exists there (a portable install), else
    // $XDG_CONFIG_HOME/orvalis/ov.ini (~/.config/orvalis/ov.ini).
    static QString SettingsFile(const QString& executableDir);

    // Default of the log folder: the folder of the settings file, with a trailing "/".
    static QString DefaultLogFolder(const CSettingsStore& store);
    // The log folder as stored under "Settings" IniPath, with "~" expanded and a relative
    // path taken from the settings folder; an empty value means the default.
    static QString LogFolder(const CSettingsStore& store);
    // LogFolder() + "/logfile.log".
    static QString LogFile(const CSettingsStore& store);
    // The log file inside the folder given as text (the rule of LogFolder applied to it).
    static QString LogFileIn(const CSettingsStore& store, const QString& folderText);

    // $XDG_CONFIG_HOME, or ~/.config.
    static QString ConfigHome();
    // Per-user folder for sockets and locks: $XDG_RUNTIME_DIR, else a private folder
    // under the temporary directory named after the user id.
    static QString RuntimeDir();
};
