#include "dialer/simremoteaccess.h"
#include "dialer/simulatorfile.h"
#include "monitor/interfacecounters.h"
#include "support/testclock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A folder laid out like /sys/class/net: IF/ifindex, IF/statistics/rx_bytes, tx_bytes.
class CFakeNet {
public:
    explicit CFakeNet(const QString& root)
        : m_root(root)
    {}

    bool Add(const QString& name, int index, quint64 rx = 0, quint64 tx = 0) const
    {
        return QDir(m_root).mkpath(name + u"/statistics"_s) &&
               Write(name + u"/ifindex"_s, QByteArray::number(index)) && Set(name, rx, tx);
    }
    bool Set(const QString& name, quint64 rx, quint64 tx) const
    {
        return Write(name + u"/statistics/rx_bytes"_s, QByteArray::number(rx)) &&
               Write(name + u"/statistics/tx_bytes"_s, QByteArray::number(tx));
    }
    bool Write(const QString& file, const QByteArray& text) const
    {
        QFile f(m_root + u'/' + file);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text + '\n') > 0;
    }
    bool Remove(const QString& name) const
    {
        return QDir(m_root + u'/' + name).removeRecursively();
    }

private:
    QString m_root;
};

// --- Helpers that the kernel test runs inside a network namespace --------------------

// Reads interface names from stdin, one a line (empty: highest index), and answers each
// with "ok|fail RECEIVED SENT HIGHEST" from one long-lived CInterfaceCounters.
int RunCounterReader()
{
    CInterfaceCounters counters;
    std::string line;
    while (std::getline(std::cin, line)) {
        const bool ok = counters.Update(QString::fromStdString(line));
        std::printf("%s %llu %llu %s\n", ok ? "ok" : "fail",
                    static_cast<unsigned long long>(counters.TotalReceived()),
                    static_cast<unsigned long long>(counters.TotalSent()),
                    qPrintable(counters.HighestIndexInterface()));
        std::fflush(stdout);
    }
    return 0;
}

quint16 InternetChecksum(const std::vector<unsigned char>& data)
{
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        sum += quint32(data[i]) << 8 | data[i + 1];
    if (data.size() % 2 != 0)
        sum += quint32(data.back()) << 8;
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return static_cast<quint16>(~sum);
}

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
        const quint16 sum = InternetChecksum(packet);
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

struct ReaderAnswer {
    bool ok = false;
    quint64 received = 0;
    quint64 sent = 0;
    QString highest;
};

} // namespace

class TestInterfaceCounters : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsNamedInterfaceFromItsFirstReadingOn();
    void emptyNameTakesHighestIndex();
    void resetOrRecreatedInterfaceCountsFromZero();
    void switchingSourceAddsNothing();
    void totalsWrapAt32Bits();
    void missingInterfaceKeepsTotals();
    void badNamesAndFilesGiveNoReading();
    void backendCountersComeFirst();

    void kernelInterfaceInNamespace();

private:
    bool Ip(const QStringList& args, QByteArray* output = nullptr);
    bool MakeLink();
    bool Echo(int count);
    bool Ask(const QString& interfaceName, ReaderAnswer& answer);

    std::optional<QTemporaryDir> m_dir;
    std::optional<CFakeNet> m_net;
    QString m_root;

    QString m_ip;
    QStringList m_namespaces;
    std::unique_ptr<QProcess> m_reader;
};

void TestInterfaceCounters::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->filePath(u"net"_s);
    QVERIFY(QDir().mkpath(m_root));
    m_net.emplace(m_root);
}

void TestInterfaceCounters::cleanup()
{
    if (m_reader) {
        m_reader->closeWriteChannel();
        if (!m_reader->waitForFinished(5000))
            m_reader->kill();
        m_reader->waitForFinished(5000);
        m_reader.reset();
    }
    for (const QString& ns : std::as_const(m_namespaces))
        Ip({u"netns"_s, u"del"_s, ns});
    m_namespaces.clear();
    m_net.reset();
    m_dir.reset();
}

void TestInterfaceCounters::readsNamedInterfaceFromItsFirstReadingOn()
{
    QVERIFY(m_net->Add(u"eth0"_s, 2, 9'000'000'000ULL, 7'000'000'000ULL));
    QVERIFY(m_net->Add(u"ppp0"_s, 5, 1000, 500));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Available());

    // The first reading is the reference: a long-lived interface adds nothing.
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 0ULL);
    QCOMPARE(counters.TotalSent(), 0ULL);

    QVERIFY(m_net->Set(u"ppp0"_s, 2500, 800));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1500ULL);
    QCOMPARE(counters.TotalSent(), 300ULL);
    QCOMPARE(counters.ReceivedBytes(), 1500);
    QCOMPARE(counters.SentBytes(), 300);

    // No change, no bytes.
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1500ULL);

    CInterfaceCounters::Reading reading;
    QVERIFY(counters.Read(u"eth0"_s, reading));
    QCOMPARE(reading.received, 9'000'000'000ULL);
    QCOMPARE(reading.sent, 7'000'000'000ULL);
    QCOMPARE(reading.index, 2);
}

void TestInterfaceCounters::emptyNameTakesHighestIndex()
{
    // Folder order and index order differ on purpose.
    QVERIFY(m_net->Add(u"lo"_s, 1));
    QVERIFY(m_net->Add(u"eth0"_s, 2));
    QVERIFY(m_net->Add(u"ppp0"_s, 7, 100, 100));
    QVERIFY(m_net->Add(u"wlan0"_s, 3));
    CInterfaceCounters counters(nullptr, m_root);
    QCOMPARE(counters.HighestIndexInterface(), u"ppp0"_s);

    QVERIFY(counters.Update(QString()));
    QVERIFY(m_net->Set(u"wlan0"_s, 5000, 5000));
    QVERIFY(m_net->Set(u"ppp0"_s, 160, 130));
    QVERIFY(counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 30ULL);

    // Reading it by its name is the same source.
    QVERIFY(m_net->Set(u"ppp0"_s, 170, 130));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 70ULL);

    // A new interface with a higher index is another source: it only becomes the reference.
    QVERIFY(m_net->Add(u"ppp1"_s, 12, 4'000'000'000ULL, 10));
    QCOMPARE(counters.HighestIndexInterface(), u"ppp1"_s);
    QVERIFY(counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 70ULL);
    QCOMPARE(counters.TotalSent(), 30ULL);

    // An interface without a readable index is never chosen.
    QVERIFY(m_net->Add(u"zz9"_s, 99));
    QVERIFY(m_net->Write(u"zz9/ifindex"_s, "garbage"));
    QCOMPARE(counters.HighestIndexInterface(), u"ppp1"_s);

    QVERIFY(m_net->Remove(u"lo"_s) && m_net->Remove(u"eth0"_s) && m_net->Remove(u"ppp0"_s) &&
            m_net->Remove(u"wlan0"_s) && m_net->Remove(u"ppp1"_s) && m_net->Remove(u"zz9"_s));
    QCOMPARE(counters.HighestIndexInterface(), QString());
    QVERIFY(!counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 70ULL);
}

void TestInterfaceCounters::resetOrRecreatedInterfaceCountsFromZero()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 5'000'000'000ULL, 3'000'000'000ULL));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 5'000'001'000ULL, 3'000'000'100ULL));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1000ULL);
    QCOMPARE(counters.TotalSent(), 100ULL);

    // The counters went back: they restarted from 0, so what they show is new. Not a wrap
    // of billions of bytes.
    QVERIFY(m_net->Set(u"ppp0"_s, 300, 20));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1300ULL);
    QCOMPARE(counters.TotalSent(), 120ULL);

    // Recreated under the same name (new index) and already past the old values: also
    // counted from 0.
    QVERIFY(m_net->Remove(u"ppp0"_s));
    QVERIFY(m_net->Add(u"ppp0"_s, 9, 700, 50));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 2000ULL);
    QCOMPARE(counters.TotalSent(), 170ULL);
}

void TestInterfaceCounters::switchingSourceAddsNothing()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 100, 100));
    QVERIFY(m_net->Add(u"isp0"_s, 5, 8'000'000'000ULL, 6'000'000'000ULL));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 150, 110));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 50ULL);

    QVERIFY(counters.Update(u"isp0"_s));
    QCOMPARE(counters.TotalReceived(), 50ULL);
    QCOMPARE(counters.TotalSent(), 10ULL);
    QVERIFY(m_net->Set(u"isp0"_s, 8'000'000'010ULL, 6'000'000'001ULL));
    QVERIFY(counters.Update(u"isp0"_s));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 11ULL);

    // Back to the first one, whose counters moved meanwhile: again only a reference.
    QVERIFY(m_net->Set(u"ppp0"_s, 90'000, 90'000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 11ULL);
}

void TestInterfaceCounters::totalsWrapAt32Bits()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 0, 0));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));

    // Past 2^31 the 32-bit value turns negative.
    const quint64 half = 1ULL << 31;
    QVERIFY(m_net->Set(u"ppp0"_s, half + 1, half - 1));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.ReceivedBytes(), std::numeric_limits<qint32>::min() + 1);
    QCOMPARE(counters.SentBytes(), std::numeric_limits<qint32>::max());

    // Past 2^32 the kernel's 64-bit counter goes on; the 32-bit one wraps, and a 32-bit
    // difference across the wrap is still the real one.
    QVERIFY(m_net->Set(u"ppp0"_s, (1ULL << 32) - 100, half - 1));
    QVERIFY(counters.Update(u"ppp0"_s));
    const qint32 before = counters.ReceivedBytes();
    QCOMPARE(before, -100);
    QVERIFY(m_net->Set(u"ppp0"_s, (1ULL << 32) + 50, half - 1));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), (1ULL << 32) + 50);
    QCOMPARE(counters.ReceivedBytes(), 50);
    const auto difference = static_cast<qint32>(static_cast<quint32>(counters.ReceivedBytes()) -
                                                static_cast<quint32>(before));
    QCOMPARE(difference, 150);
    QCOMPARE(CInterfaceCounters::Cut(0xFFFF'FFFFULL), -1);
    QCOMPARE(CInterfaceCounters::Cut(0x1'0000'0000ULL), 0);
}

void TestInterfaceCounters::missingInterfaceKeepsTotals()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 10, 10));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 110, 60));
    QVERIFY(counters.Update(u"ppp0"_s));

    QVERIFY(m_net->Remove(u"ppp0"_s));
    QVERIFY(!counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 100ULL);
    QCOMPARE(counters.TotalSent(), 50ULL);

    // Back again: the first reading after the gap is only the new reference.
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 5000, 5000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 100ULL);
    QVERIFY(m_net->Set(u"ppp0"_s, 5001, 5002));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 101ULL);
    QCOMPARE(counters.TotalSent(), 52ULL);

    // Half a reading (statistics gone) is no reading either.
    QVERIFY(QFile::remove(m_root + u"/ppp0/statistics/tx_bytes"_s));
    QVERIFY(!counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 101ULL);
}

void TestInterfaceCounters::badNamesAndFilesGiveNoReading()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 10, 10));
    // A counter file beside the root that a crafted name could reach.
    QVERIFY(QDir(m_dir->path()).mkpath(u"statistics"_s));
    QVERIFY(CFakeNet(m_dir->path()).Write(u"ifindex"_s, "1"));
    QVERIFY(CFakeNet(m_dir->path()).Set(QString(), 1, 1));

    CInterfaceCounters counters(nullptr, m_root);
    CInterfaceCounters::Reading reading;
    QVERIFY(!counters.Read(u".."_s, reading));
    QVERIFY(!counters.Read(u"."_s, reading));
    QVERIFY(!counters.Read(u"ppp0/../.."_s, reading));
    QVERIFY(!counters.Read(u"ppp0\0"_s, reading));

    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "-5"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "12abc"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "99999999999999999999999"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, QByteArray(100000, '7')));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "18446744073709551615"));
    QVERIFY(counters.Read(u"ppp0"_s, reading));
    QCOMPARE(reading.received, std::numeric_limits<quint64>::max());

    QVERIFY(!CInterfaceCounters(nullptr, m_dir->filePath(u"none"_s)).Available());
}

void TestInterfaceCounters::backendCountersComeFirst()
{
    const QDateTime start(QDate(2024, 3, 1), QTime(10, 0, 0));
    CTestClock clock(start);
    const QString file = m_dir->filePath(u"simulator.ini"_s);
    CSimRemoteAccess sim(file);
    CSimulatorFile simFile(file);
    QVERIFY(simFile.StartLine(u"Work"_s, start.toMSecsSinceEpoch(), 0));
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 7'000'000, 7'000'000));

    CInterfaceCounters counters(&sim, m_root);
    clock.AdvanceSecs(10);
    QVERIFY(counters.Update(u"ppp0"_s)); // the simulator's 40000 / 8000, as reference
    clock.AdvanceSecs(5);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20000ULL); // RateIn 4000 a second
    QCOMPARE(counters.TotalSent(), 4000ULL);      // RateOut 800 a second

    // The line drops: the kernel's interface of that name is another source.
    QVERIFY(simFile.ClearLine());
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20000ULL);
    QVERIFY(m_net->Set(u"ppp0"_s, 7'000'010, 7'000'000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20010ULL);

    // A new line: the simulator again, from its new start, adds nothing at first.
    QVERIFY(simFile.StartLine(u"Work"_s, clock.Now().toMSecsSinceEpoch(), 0));
    clock.AdvanceSecs(1);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20010ULL);
    clock.AdvanceSecs(1);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 24010ULL);
    QCOMPARE(counters.TotalSent(), 4800ULL);
}

// A veth pair named like a dial-up link between two network namespaces carries exactly
// the traffic the test sends, so the kernel's counters can be checked to the byte.
void TestInterfaceCounters::kernelInterfaceInNamespace()
{
    if (geteuid() != 0)
        QSKIP("Needs root to make network namespaces");
    m_ip = QStandardPaths::findExecutable(u"ip"_s);
    if (m_ip.isEmpty())
        m_ip = QStandardPaths::findExecutable(u"ip"_s, {u"/usr/sbin"_s, u"/sbin"_s});
    if (m_ip.isEmpty())
        QSKIP("The ip tool (iproute2) is missing");

    const QString suffix = QString::number(QCoreApplication::applicationPid()) + u'-' +
                           QString::number(QRandomGenerator::global()->bounded(1000000));
    const QString a = u"orvcnt-a-"_s + suffix;
    const QString b = u"orvcnt-b-"_s + suffix;
    if (!Ip({u"netns"_s, u"add"_s, a}))
        QSKIP("Cannot make network namespaces here");
    m_namespaces << a;
    QVERIFY(Ip({u"netns"_s, u"add"_s, b}));
    m_namespaces << b;
    // No IPv6 on the link, so nothing but the test's own packets moves.
    for (const QString& ns : std::as_const(m_namespaces)) {
        QVERIFY(Ip(
            {u"netns"_s, u"exec"_s, ns, QCoreApplication::applicationFilePath(), u"--no-ipv6"_s}));
    }
    QVERIFY(MakeLink());

    m_reader = std::make_unique<QProcess>();
    m_reader->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_reader->start(m_ip, {u"netns"_s, u"exec"_s, a, QCoreApplication::applicationFilePath(),
                           u"--counter-reader"_s});
    QVERIFY(m_reader->waitForStarted(10000));

    ReaderAnswer answer;
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 0ULL);
    QCOMPARE(answer.highest, u"ppp0"_s);

    // 10 echo requests and answers of 1000 + 8 (ICMP) + 20 (IP) + 14 (Ethernet) bytes.
    QVERIFY(Echo(10));
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 10420ULL);
    QCOMPARE(answer.sent, 10420ULL);
    // By the highest index: the same interface, nothing more.
    QVERIFY(Ask(QString(), answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 10420ULL);

    // The link is made again (a new call): its counters start from 0 and all of its
    // bytes count.
    QVERIFY(Ip({u"-n"_s, a, u"link"_s, u"del"_s, u"ppp0"_s}));
    QVERIFY(MakeLink());
    QVERIFY(Echo(5));
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 15630ULL);
    QCOMPARE(answer.sent, 15630ULL);

    // Gone: the totals stay.
    QVERIFY(Ip({u"-n"_s, a, u"link"_s, u"del"_s, u"ppp0"_s}));
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(!answer.ok);
    QCOMPARE(answer.received, 15630ULL);
    QCOMPARE(answer.sent, 15630ULL);
}

bool TestInterfaceCounters::Ip(const QStringList& args, QByteArray* output)
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

// ppp0 (10.64.0.2) in the first namespace, isp0 (10.64.0.1) in the second, with fixed
// neighbour entries so that no ARP goes over the link.
bool TestInterfaceCounters::MakeLink()
{
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

bool TestInterfaceCounters::Echo(int count)
{
    return Ip({u"netns"_s, u"exec"_s, m_namespaces.at(0), QCoreApplication::applicationFilePath(),
               u"--echo"_s, u"10.64.0.1"_s, QString::number(count), u"1000"_s});
}

bool TestInterfaceCounters::Ask(const QString& interfaceName, ReaderAnswer& answer)
{
    m_reader->write(interfaceName.toUtf8() + '\n');
    while (!m_reader->canReadLine()) {
        if (!m_reader->waitForReadyRead(10000)) {
            qWarning() << "no answer from the counter reader";
            return false;
        }
    }
    const QList<QByteArray> fields = m_reader->readLine().trimmed().split(' ');
    if (fields.size() < 3)
        return false;
    answer.ok = fields[0] == "ok";
    answer.received = fields[1].toULongLong();
    answer.sent = fields[2].toULongLong();
    answer.highest = fields.size() > 3 ? QString::fromUtf8(fields[3]) : QString();
    return true;
}

// The test runs itself inside a namespace for the reader, the echo sender and the IPv6
// switch.
int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--counter-reader") == 0)
        return RunCounterReader();
    if (argc >= 2 && std::strcmp(argv[1], "--no-ipv6") == 0)
        return RunNoIpv6();
    if (argc >= 5 && std::strcmp(argv[1], "--echo") == 0)
        return RunEcho(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    QCoreApplication app(argc, argv);
    TestInterfaceCounters test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interfacecounters.moc"
