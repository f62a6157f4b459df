#pragma once

#include <QString>

// The desktop's autostart entry for the program: a file
// $XDG_CONFIG_HOME/autostart/orvalis.desktop that the session starts at log-in.
class CAutostart {
public:
    static QString EntryFile();
    // Creates or removes the entry. An executable path that cannot be written into an
    // entry (see CanStart) is refused with a message and nothing is written; other
    // failures are not reported: the caller carries on. False when an entry was asked
    // for and not written.
    static bool Set(bool enabled, const QString& executable);
    static bool IsSet();

    // False for a path no entry can start: one holding a control character (a line
    // break, a tab, ...), which the Exec line cannot carry.
    static bool CanStart(const QString& executable);
    // The entry's text for the executable. The path is quoted for the Exec key: inside
    // double quotes ", `, $ and \ get a backslash, and a % is doubled; the value is then
    // escaped as every desktop entry string is (a backslash written as two). Empty for an
    // empty path or when CanStart() is false.
    static QByteArray EntryText(const QString& executable);
    // The Exec value alone, escaped as in EntryText().
    static QString ExecValue(const QString& executable);
};
