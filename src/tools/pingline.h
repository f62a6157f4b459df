#pragma once

#include <QString>

// The line of the Ping page's result list for one click.
class CPingLine {
public:
    // "[Ping] a.b.c.d [NAME], replied in RTT:N ms"; the address in network byte order.
    // Without a name the brackets hold the address.
    static QString Reply(quint32 address, const QString& name, quint32 rttMs);
    // "[Ping] Error N: WORDS", the words from CPingStatus or, for a system errno, the
    // system's; when pings are not allowed at all, the line says how to allow them instead.
    static QString Error(int code);
};
