#include "tools/pingclick.h"

#include "tools/namelookup.h"
#include "tools/pingline.h"

QString CPingClick::Run(const QString& host, const CIcmpPinger::SocketOpener& opener)
{
    CIcmpPinger pinger(opener);
    CPingReply reply;
    // The first request only wakes the path (address resolution, a dial-on-demand link).
    pinger.Ping(host, reply, kTtl, kTimeoutMs, kPayloadSize);
    reply = {};
    if (!pinger.Ping(host, reply, kTtl, kTimeoutMs, kPayloadSize))
        return CPingLine::Error(pinger.LastError());
    return CPingLine::Reply(reply.address, CNameLookup::NameOf(reply.address), reply.rttMs);
}
