#pragma once

#include "tools/icmppinger.h"

#include <QString>

// What one click on "Ping" does: two echo requests back to back (time to live 10, 1000 ms,
// 32 bytes), of which only the second is reported, and the line for the result list.
// Blocks for up to two time-outs and the name lookups: run it off the window's thread.
class CPingClick {
public:
    static constexpr quint8 kTtl = 10;
    static constexpr int kTimeoutMs = 1000;
    static constexpr int kPayloadSize = 32;

    static QString Run(const QString& host,
                       const CIcmpPinger::SocketOpener& opener = CIcmpPinger::SystemOpener());
};
