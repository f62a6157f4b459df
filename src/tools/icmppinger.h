#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// What a successful echo brought back.
struct CPingReply {
    quint32 address = 0; // the replying address, network byte order
    quint32 rttMs = 0;   // round trip in milliseconds
};

// Sends one ICMP echo request and checks the reply. It uses an unprivileged ICMP datagram
// socket where the system allows one (net.ipv4.ping_group_range), else a raw socket where
// the program may open one (CAP_NET_RAW). One socket per echo; Ping blocks up to the
// time-out, so run it off the window's thread.
class CIcmpPinger {
public:
    // Opens a socket of the kind asked (SOCK_DGRAM or SOCK_RAW) for IPv4 ICMP: the
    // descriptor, or -1 with errno set. Tests put their own in.
    using SocketOpener = std::function<int(int type)>;

    static constexpr unsigned char kPayloadByte = 0x45;

    CIcmpPinger();
    explicit CIcmpPinger(SocketOpener opener);

    // Pings a dotted address or a host name (its first IPv4 address) with `payloadSize`
    // bytes (only the low 8 bits count) of kPayloadByte. True on a valid reply, which then
    // fills `reply`; false leaves the reason in LastError() (see CPingStatus), and for an
    // ICMP error message the sender's address in `reply`.
    bool Ping(const QString& host, CPingReply& reply, quint8 ttl, int timeoutMs, int payloadSize);
    int LastError() const { return m_lastError; }

    // 0 when the payload of an echo reply is the one sent, else CPingStatus's mismatch.
    static int CheckPayload(const QByteArray& payload, int payloadSize);
    // The Internet checksum of an ICMP message (RFC 1071), its own checksum field zero.
    static quint16 Checksum(const std::vector<unsigned char>& message);
    static SocketOpener SystemOpener();

private:
    int OpenSocket(bool& raw);
    bool Fail(int code);

    SocketOpener m_opener;
    int m_lastError = 0;
};
