#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class QProcess;

// Two network namespaces joined by a veth pair named like a dial-up link: ppp0
// (10.64.0.2) in the first, isp0 (10.64.0.1) in the second. IPv6 is off and the
// neighbour entries are fixed, so the link carries nothing but the test's own packets and
// its kernel counters can be checked to the byte.
//
// The test executable runs itself inside a namespace for the pieces that must live there;
// its main() hands the command line to RunHelperMode() first.
class CNetnsLink {
public:
    // Payload of one echo or datagram, and what one echo request, echo answer or datagram
    // puts on the wire: payload + 8 (ICMP or UDP) + 20 (IP) + 14 (Ethernet).
    static constexpr int kEchoPayload = 1000;
    static constexpr quint64 kPacketWireBytes = kEchoPayload + 8 + 20 + 14;

    CNetnsLink();
    // Removes the namespaces.
    ~CNetnsLink();

    CNetnsLink(const CNetnsLink&) = delete;
    CNetnsLink& operator=(const CNetnsLink&) = delete;

    // Why namespaces cannot be made here (not root, no ip tool), or empty.
    QString Unavailable();
    // Makes the two namespaces and turns IPv6 off in them. Nothing: the first namespace
    // could not be made (skip). False: something later failed.
    std::optional<bool> MakeNamespaces(const QString& prefix);
    // Makes the link (again, after it was deleted).
    bool MakeLink();
    // Deletes ppp0, and with it isp0.
    bool DeleteLink();
    // Removes both namespaces; safe to call more than once.
    void Remove();

    // The first namespace, that of ppp0.
    QString Inside() const { return m_namespaces.value(0); }

    // Runs the ip tool; its standard output into `output`.
    bool Ip(const QStringList& args, QByteArray* output = nullptr);
    // Starts this executable with `args` inside the first namespace.
    bool StartInside(QProcess& process, const QStringList& args);
    // Sends `count` echoes to isp0 from inside the first namespace, each after the answer
    // to the one before.
    bool Echo(int count);
    // Sends `count` UDP broadcasts out of ppp0 that nothing answers: bytes sent only.
    bool SendOneWay(int count);

    // Writes one command line to a helper and waits for its one-line answer, trimmed.
    static std::optional<QByteArray> Converse(QProcess& helper, const QByteArray& command);

    // The helper modes this support provides (--no-ipv6, --echo, --one-way). Nothing when argv asks
    // for none of them.
    static std::optional<int> RunHelperMode(int argc, char** argv);

private:
    QString m_ip;
    QStringList m_namespaces;
};
