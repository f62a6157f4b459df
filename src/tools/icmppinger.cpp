#include "tools/icmppinger.h"

#include "tools/namelookup.h"
#include "tools/pingstatus.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr int kIcmpHeader = 8;
std::atomic<quint16> g_sequence{0};

quint16 Read16(const unsigned char* at)
{
    return static_cast<quint16>(at[0] << 8 | at[1]);
}

// Closes the socket however Ping leaves.
struct CSocketCloser {
    int fd;
    ~CSocketCloser() { ::close(fd); }
};

} // namespace

CIcmpPinger::CIcmpPinger()
    : m_opener(SystemOpener())
{}

CIcmpPinger::CIcmpPinger(SocketOpener opener)
    : m_opener(std::move(opener))
{}

CIcmpPinger::SocketOpener CIcmpPinger::SystemOpener()
{
    return [](int type) { return ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP); };
}

bool CIcmpPinger::Fail(int code)
{
    m_lastError = code;
    return false;
}

int CIcmpPinger::CheckPayload(const QByteArray& payload, int payloadSize)
{
    if (payload.size() != (payloadSize & 0xff))
        return CPingStatus::kMismatchedReply;
    for (const char byte : payload) {
        if (static_cast<unsigned char>(byte) != kPayloadByte)
            return CPingStatus::kMismatchedReply;
    }
    return 0;
}

int CIcmpPinger::OpenSocket(bool& raw)
{
    raw = false;
    int fd = m_opener(SOCK_DGRAM);
    if (fd >= 0)
        return fd;
    const int dgramError = errno;
    fd = m_opener(SOCK_RAW);
    if (fd >= 0) {
        raw = true;
        return fd;
    }
    const int rawError = errno;
    const auto denied = [](int e) { return e == EACCES || e == EPERM; };
    m_lastError = denied(dgramError) && denied(rawError) ? CPingStatus::kNotAllowed : dgramError;
    return -1;
}

bool CIcmpPinger::Ping(const QString& host, CPingReply& reply, quint8 ttl, int timeoutMs,
                       int payloadSize)
{
    const std::optional<quint32> address = CNameLookup::FirstAddress(host);
    if (!address)
        return Fail(CPingStatus::kHostNotFound);
    bool raw = false;
    const int fd = OpenSocket(raw);
    if (fd < 0)
        return false;
    const CSocketCloser closer{fd};

    const int hops = ttl;
    const int on = 1;
    if (setsockopt(fd, IPPROTO_IP, IP_TTL, &hops, sizeof hops) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on) != 0)
        return Fail(errno);

    // A datagram socket puts its own identifier in and computes the checksum; a raw socket
    // sees every ICMP message of the machine and tells ours by the identifier.
    const quint16 id = static_cast<quint16>(::getpid());
    const quint16 sequence = ++g_sequence;
    const int size = payloadSize & 0xff;
    std::vector<unsigned char> packet(kIcmpHeader + static_cast<size_t>(size), kPayloadByte);
    packet[0] = ICMP_ECHO;
    packet[1] = 0;
    packet[2] = packet[3] = 0;
    packet[4] = static_cast<unsigned char>(id >> 8);
    packet[5] = static_cast<unsigned char>(id);
    packet[6] = static_cast<unsigned char>(sequence >> 8);
    packet[7] = static_cast<unsigned char>(sequence);
    const quint16 sum = CIcmpPinger::Checksum(packet);
    packet[2] = static_cast<unsigned char>(sum >> 8);
    packet[3] = static_cast<unsigned char>(sum);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = *address;
    QElapsedTimer roundTrip;
    roundTrip.start();
    if (sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to),
               sizeof to) != static_cast<ssize_t>(packet.size()))
        return Fail(errno);

    // Whether an echo request quoted in an ICMP message (or the error queue) is ours.
    const auto ours = [&](const unsigned char* echo, ssize_t length) {
        return length >= kIcmpHeader && echo[0] == ICMP_ECHO && Read16(echo + 6) == sequence &&
               (!raw || Read16(echo + 4) == id);
    };

    const QDeadlineTimer deadline(timeoutMs);
    unsigned char buffer[65536];
    for (;;) {
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, static_cast<int>(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return Fail(errno);
        if (ready == 0)
            return Fail(CPingStatus::kTimedOut);

        if (wait.revents & POLLERR) {
            // An ICMP error about our request: time to live exceeded, unreachable...
            unsigned char control[512];
            iovec part{buffer, sizeof buffer};
            msghdr message{};
            message.msg_iov = &part;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            const ssize_t length = recvmsg(fd, &message, MSG_ERRQUEUE);
            if (length < 0)
                continue;
            for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
                if (c->cmsg_level != IPPROTO_IP || c->cmsg_type != IP_RECVERR)
                    continue;
                sock_extended_err error{};
                std::memcpy(&error, CMSG_DATA(c), sizeof error);
                if (error.ee_origin != SO_EE_ORIGIN_ICMP || (!raw && !ours(buffer, length)))
                    continue;
                sockaddr_in offender{};
                std::memcpy(&offender,
                            SO_EE_OFFENDER(reinterpret_cast<sock_extended_err*>(CMSG_DATA(c))),
                            sizeof offender);
                reply.address = offender.sin_addr.s_addr;
                return Fail(CPingStatus::FromIcmp(error.ee_type, error.ee_code));
            }
            continue;
        }

        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        ssize_t length =
            recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (length < 0)
            continue;
        const unsigned char* icmp = buffer;
        if (raw) {
            // A raw socket hands over the IP header too.
            const ssize_t header = (buffer[0] & 0x0f) * 4;
            if (length < header + kIcmpHeader)
                continue;
            icmp += header;
            length -= header;
        }
        if (length < kIcmpHeader)
            continue;
        if (icmp[0] == ICMP_ECHOREPLY) {
            if (Read16(icmp + 6) != sequence || (raw && Read16(icmp + 4) != id))
                continue;
            const QByteArray payload(reinterpret_cast<const char*>(icmp + kIcmpHeader),
                                     length - kIcmpHeader);
            if (const int mismatch = CheckPayload(payload, payloadSize))
                return Fail(mismatch);
            reply.address = from.sin_addr.s_addr;
            reply.rttMs = static_cast<quint32>(roundTrip.elapsed());
            m_lastError = 0;
            return true;
        }
        // On a raw socket the ICMP error messages about our request come in as they are:
        // they quote our IP header and the first 8 bytes of our request.
        if (raw && (icmp[0] == ICMP_DEST_UNREACH || icmp[0] == ICMP_TIME_EXCEEDED ||
                    icmp[0] == ICMP_PARAMETERPROB || icmp[0] == ICMP_SOURCE_QUENCH)) {
            const unsigned char* quoted = icmp + kIcmpHeader;
            const ssize_t quotedLength = length - kIcmpHeader;
            if (quotedLength < 20)
                continue;
            const ssize_t quotedHeader = (quoted[0] & 0x0f) * 4;
            if (!ours(quoted + quotedHeader, quotedLength - quotedHeader))
                continue;
            reply.address = from.sin_addr.s_addr;
            return Fail(CPingStatus::FromIcmp(icmp[0], icmp[1]));
        }
    }
}

quint16 CIcmpPinger::Checksum(const std::vector<unsigned char>& message)
{
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < message.size(); i += 2)
        sum += quint32(message[i]) << 8 | message[i + 1];
    if (message.size() % 2 != 0)
        sum += quint32(message.back()) << 8;
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return static_cast<quint16>(~sum);
}
