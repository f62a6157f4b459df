#pragma once

#include <QString>

// The desktop's autostart entry for the program: a file
// $XDG_CONFIG_HOME/autostart/orvalis.desktop that the session starts at log-in.
class CAutostart {
public:
    static QString EntryFile();
    // Creates or removes the entry. Failures are not reported: the caller carries on.
    static void Set(bool enabled, const QString& executable);
    static bool IsSet();

    // The entry's text for the executable, with the Exec value quoted as desktop entries
    // require.
    static QByteArray EntryText(const QString& executable);
};
