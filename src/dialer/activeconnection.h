#pragma once

#include <QString>
#include <QtGlobal>

// Identifies a connection, or a dial that is still under way, to the remote-access
// backend. 0 means none.
using RasHandle = quint64;

// One connection that is up, as the remote-access backend reports it.
struct CActiveConnection {
    RasHandle handle = 0;
    QString entryName;     // phonebook entry it was dialled from
    QString deviceName;    // e.g. the modem's name
    QString deviceType;    // e.g. "modem", "isdn", "vpn"
    QString interfaceName; // network interface that carries it (for the byte counters)
};
