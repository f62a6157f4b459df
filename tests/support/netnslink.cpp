#include "support/netnslink.h"

#include "tools/icmppinger.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Sends COUNT ICMP echo requests with SIZE bytes of payload to ADDRESS, one after the
// other, each after the answer to the previous one. Exit code 0 when all were answered.
int RunEcho(const char* address, int count, int size)
{
    const int fd = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (fd < 0 || inet_pton(AF_INET, address, &to.sin_addr) != 1 || size < 0 || size > 60000) {
        std::perror("echo");
        return 2;
    }
    const quint16 id = static_cast<quint16>(getpid());
    std::vector<unsigned char> packet(8 + static_cast<size_t>(size));
    for (int seq = 1; seq <= count; ++seq) {
        std::fill(packet.begin(), packet.end(), static_cast<unsigned char>(seq));
        packet[0] = 8; // echo request
        packet[1] = 0;
        packet[2] = packet[3] = 0;
        packet[4] = static_cast<unsigned char>(id >> 8);
        packet[5] = static_cast<unsigned char>(id);
        packet[6] = static_cast<unsigned char>(seq >> 8);
        packet[7] = static_cast<unsigned char>(seq);
        const quint16 sum = CIcmpPinger::Checksum(packet);
        packet[2] = static_cast<unsigned char>(sum >> 8);
        packet[3] = static_cast<unsigned char>(sum);
        if (sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&to),
                   sizeof to) != static_cast<ssize_t>(packet.size())) {
            std::perror("sendto");
            return 3;
        }
        for (bool answered = false; !answered;) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 5000) <= 0) {
                std::fprintf(stderr, "no answer to echo %d\n", seq);
                return 4;
            }
            unsigned char buffer[65536];
            const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
            if (n < 20)
                continue;
            const size_t headerLength = (buffer[0] & 0x0fu) * 4u;
            if (static_cast<size_t>(n) < headerLength + 8)
                continue;
            const unsigned char* icmp = buffer + headerLength;
            answered = icmp[0] == 0 && icmp[4] == packet[4] && icmp[5] == packet[5] &&
                       icmp[6] == packet[6] && icmp[7] == packet[7];
        }
    }
    close(fd);
    return 0;
}

// Sends COUNT UDP datagrams with SIZE bytes of payload out of INTERFACE to the limited
// broadcast address: no ARP before them and, broadcast, no answer or error after them.
int RunOneWay(const char* interfaceName, int count, int size)
{
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    const int on = 1;
    if (fd < 0 || size < 0 || size > 1400 ||
        setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, interfaceName,
                   static_cast<socklen_t>(std::strlen(interfaceName))) != 0) {
        std::perror("one-way");
        return 2;
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9); // discard
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    const std::vector<char> payload(static_cast<size_t>(size), 'x');
    for (int i = 0; i < count; ++i) {
        if (sendto(fd, payload.data(), payload.size(), 0, reinterpret_cast<sockaddr*>(&to),
                   sizeof to) != static_cast<ssize_t>(payload.size())) {
            std::perror("sendto");
            return 3;
        }
    }
    close(fd);
    return 0;
}

// Turns IPv6 off for the interfaces of the current network namespace, those made later
// included. A kernel without IPv6 has nothing to turn off.
int RunNoIpv6()
{
    if (!QFile::exists(u"/proc/sys/net/ipv6"_s))
        return 0;
    for (const char* which : {"all", "default"}) {
        QFile f(u"/proc/sys/net/ipv6/conf/%1/disable_ipv6"_s.arg(QLatin1StringView(which)));
        if (!f.open(QIODevice::WriteOnly) || f.write("1\n") != 2) {
            std::fprintf(stderr, "cannot turn IPv6 off: %s\n", qPrintable(f.errorString()));
            return 1;
        }
    }
    return 0;
}

} // namespace

CNetnsLink::CNetnsLink() = default;

CNetnsLink::~CNetnsLink()
{
    Remove();
}

QString CNetnsLink::Unavailable()
{
    if (geteuid() != 0)
        return u"Needs root to make network namespaces"_s;
    m_ip = QStandardPaths::findExecutable(u"ip"_s);
    if (m_ip.isEmpty())
        m_ip = QStandardPaths::findExecutable(u"ip"_s, {u"/usr/sbin"_s, u"/sbin"_s});
    if (m_ip.isEmpty())
        return u"The ip tool (iproute2) is missing"_s;
    return QString();
}

std::optional<bool> CNetnsLink::MakeNamespaces(const QString& prefix)
{
    const QString suffix = QString::number(QCoreApplication::applicationPid()) + u'-' +
                           QString::number(QRandomGenerator::global()->bounded(1000000));
    const QString a = prefix + u"-a-"_s + suffix;
    const QString b = prefix + u"-b-"_s + suffix;
    if (!Ip({u"netns"_s, u"add"_s, a}))
        return std::nullopt;
    m_namespaces << a;
    if (!Ip({u"netns"_s, u"add"_s, b}))
        return false;
    m_namespaces << b;
    // No IPv6 on the link, so nothing but the test's own packets moves.
    for (const QString& ns : std::as_const(m_namespaces)) {
        if (!Ip({u"netns"_s, u"exec"_s, ns, QCoreApplication::applicationFilePath(),
                 u"--no-ipv6"_s}))
            return false;
    }
    return true;
}

// Fixed neighbour entries, so that no ARP goes over the link.
bool CNetnsLink::MakeLink()
{
    if (m_namespaces.size() != 2)
        return false;
    const QString& a = m_namespaces.at(0);
    const QString& b = m_namespaces.at(1);
    if (!Ip({u"link"_s, u"add"_s, u"name"_s, u"ppp0"_s, u"netns"_s, a, u"type"_s, u"veth"_s,
             u"peer"_s, u"name"_s, u"isp0"_s, u"netns"_s, b}) ||
        !Ip({u"-n"_s, a, u"addr"_s, u"add"_s, u"10.64.0.2/30"_s, u"dev"_s, u"ppp0"_s}) ||
        !Ip({u"-n"_s, b, u"addr"_s, u"add"_s, u"10.64.0.1/30"_s, u"dev"_s, u"isp0"_s}) ||
        !Ip({u"-n"_s, a, u"link"_s, u"set"_s, u"ppp0"_s, u"up"_s}) ||
        !Ip({u"-n"_s, b, u"link"_s, u"set"_s, u"isp0"_s, u"up"_s}))
        return false;
    auto mac = [this](const QString& ns, const QString& dev) {
        QByteArray json;
        if (!Ip({u"-n"_s, ns, u"-j"_s, u"link"_s, u"show"_s, u"dev"_s, dev}, &json))
            return QString();
        return QJsonDocument::fromJson(json).array().at(0).toObject().value(u"address").toString();
    };
    const QString macA = mac(a, u"ppp0"_s);
    const QString macB = mac(b, u"isp0"_s);
    if (macA.isEmpty() || macB.isEmpty())
        return false;
    return Ip({u"-n"_s, a, u"neigh"_s, u"replace"_s, u"10.64.0.1"_s, u"lladdr"_s, macB, u"dev"_s,
               u"ppp0"_s, u"nud"_s, u"permanent"_s}) &&
           Ip({u"-n"_s, b, u"neigh"_s, u"replace"_s, u"10.64.0.2"_s, u"lladdr"_s, macA, u"dev"_s,
               u"isp0"_s, u"nud"_s, u"permanent"_s});
}

bool CNetnsLink::DeleteLink()
{
    return !m_namespaces.isEmpty() &&
           Ip({u"-n"_s, m_namespaces.at(0), u"link"_s, u"del"_s, u"ppp0"_s});
}

void CNetnsLink::Remove()
{
    for (const QString& ns : std::as_const(m_namespaces))
        Ip({u"netns"_s, u"del"_s, ns});
    m_namespaces.clear();
}

bool CNetnsLink::Ip(const QStringList& args, QByteArray* output)
{
    QProcess ip;
    ip.start(m_ip, args);
    if (!ip.waitForFinished(30000)) {
        ip.kill();
        ip.waitForFinished();
        qWarning() << "ip" << args << "did not finish";
        return false;
    }
    if (output)
        *output = ip.readAllStandardOutput();
    if (ip.exitStatus() != QProcess::NormalExit || ip.exitCode() != 0) {
        qWarning() << "ip" << args << "failed:" << ip.readAllStandardError();
        return false;
    }
    return true;
}

bool CNetnsLink::StartInside(QProcess& process, const QStringList& args)
{
    if (m_namespaces.isEmpty())
        return false;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(m_ip, QStringList{u"netns"_s, u"exec"_s, m_namespaces.at(0),
                                    QCoreApplication::applicationFilePath()} +
                            args);
    return process.waitForStarted(10000);
}

bool CNetnsLink::SendOneWay(int count)
{
    return !m_namespaces.isEmpty() &&
           Ip({u"netns"_s, u"exec"_s, m_namespaces.at(0), QCoreApplication::applicationFilePath(),
               u"--one-way"_s, u"ppp0"_s, QString::number(count), QString::number(kEchoPayload)});
}

bool CNetnsLink::Echo(int count)
{
    return !m_namespaces.isEmpty() &&
           Ip({u"netns"_s, u"exec"_s, m_namespaces.at(0), QCoreApplication::applicationFilePath(),
               u"--echo"_s, u"10.64.0.1"_s, QString::number(count), QString::number(kEchoPayload)});
}

std::optional<QByteArray> CNetnsLink::Converse(QProcess& helper, const QByteArray& command)
{
    helper.write(command + '\n');
    while (!helper.canReadLine()) {
        if (!helper.waitForReadyRead(20000)) {
            qWarning() << "no answer from the helper to" << command;
            return std::nullopt;
        }
    }
    return helper.readLine().trimmed();
}

std::optional<int> CNetnsLink::RunHelperMode(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--no-ipv6") == 0)
        return RunNoIpv6();
    if (argc >= 5 && std::strcmp(argv[1], "--echo") == 0)
        return RunEcho(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (argc >= 5 && std::strcmp(argv[1], "--one-way") == 0)
        return RunOneWay(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return std::nullopt;
}
