#pragma once

#include <QString>
#include <QStringList>

// Whether a Connect asked over the session bus may dial, and if not, the D-Bus error the
// caller gets. A refused Connect starts nothing.
class CBusConnectCheck {
public:
    // What the program is doing when the Connect arrives.
    struct Situation {
        QStringList entries; // the phonebook
        QString defaultEntry;
        bool connected = false;
        bool dialing = false;        // a dial or its credentials window is under way
        bool mayDialOnItsOwn = true; // the data plan's allowance is not used up
    };

    // An error name under org.orvalis.Orvalis1.Error and its message; empty: dial.
    struct Refusal {
        QString error;
        QString message;

        bool Dials() const { return error.isEmpty(); }
    };

    static constexpr const char* kErrorPrefix = "org.orvalis.Orvalis1.Error.";

    // `entry` as asked; empty means the default connection.
    static Refusal Check(const QString& entry, const Situation& situation);
};
