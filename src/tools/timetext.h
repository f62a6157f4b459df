#pragma once

#include <QDateTime>
#include <QString>

// What a time server's answer (RFC 868: seconds since 1900-01-01 00:00 UTC, 32 bits)
// means, and how the Get Time page shows it.
class CTimeText {
public:
    // Seconds from 1900 to 1970.
    static constexpr qint64 kSecondsFrom1900To1970 = 2208988800LL;

    // The moment, in UTC. The 32-bit count runs out in February 2036; values below the
    // start of 1970 are read as the count's next round, from 2036 on.
    static QDateTime ToDateTime(quint32 secondsSince1900);
    // "Mon Jan 01 00:00:00 2024" and a line feed: English day and month names, UTC.
    static QString Format(quint32 secondsSince1900);
    // The count a server would send for a moment (the inverse of ToDateTime).
    static quint32 FromDateTime(const QDateTime& moment);
};
