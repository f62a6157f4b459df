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
    // path taken from the settings folder; an empty value means the default. An invalid
    // value (see IsValidFolderText) also means the default, and the user is told once.
    static QString LogFolder(const CSettingsStore& store);
    // False for a folder text no folder can have: one holding a NUL or a line break (the
    // settings file would cut it short or carry it into another line).
    static bool IsValidFolderText(const QString& text);
    // LogFolder() + "/logfile.log".
    static QString LogFile(const CSettingsStore& store);
    // The log file inside the folder given as text (the rule of LogFolder applied to it).
    static QString LogFileIn(const CSettingsStore& store, const QString& folderText);

    // $XDG_CONFIG_HOME, or ~/.config.
    static QString ConfigHome();
    // $XDG_CACHE_HOME, or ~/.cache.
    static QString CacheHome();
    // Per-user folder for sockets and locks: $XDG_RUNTIME_DIR, else the folder
    // "orvalis-UID" in the temporary directory, made private (mode 0700). That folder is
    // used only when it is ours, a real folder (no link) and private; one made by someone
    // else in advance is not trusted: then CacheHome()/orvalis/run is used instead, and
    // standard error says so once.
    static QString RuntimeDir();
    // The same with the temporary directory given (for tests).
    static QString RuntimeDir(const QString& tempRoot);
};
