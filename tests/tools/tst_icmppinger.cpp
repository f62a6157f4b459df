#include "tools/icmppinger.h"
#include "tools/pingclick.h"
#include "tools/pingline.h"
#include "tools/pingstatus.h"

#include "toolhelper.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/ip_icmp.h>
#include <sys/socket.h>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

quint32 Address(const char* dotted)
{
    return inet_addr(dotted);
}

} // namespace

class TestIcmpPinger : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A failure line says in words what its number means (the ICMP statuses that come from
    // a real exchange are checked further down).
    void errorLines_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line");
        const auto row = [](int code, const QString& words) {
            QTest::addRow("%d", code) << code << u"[Ping] Error %1: "_s.arg(code) + words;
        };
        row(CPingStatus::kMismatchedReply, u"Reply did not match"_s);
        row(CPingStatus::kHostNotFound, u"Host not found"_s);
        row(CPingStatus::kTimedOut, u"Request timed out"_s);
        row(CPingStatus::kBadRoute, u"No route to host"_s);
        row(EMFILE, u"Too many open files"_s); // the system's own words for its errno
    }

    void errorLines()
    {
        QFETCH(int, code);
        QFETCH(QString, line);
        QCOMPARE(CPingLine::Error(code), line);
    }

    void linesStatusesAndReplyChecks()
    {
        QCOMPARE(CPingLine::Reply(Address("10.66.8.2"), u"router.test"_s, 3),
                 u"[Ping] 10.66.8.2 [router.test], replied in RTT:3 ms"_s);
        QCOMPARE(CPingLine::Reply(Address("192.0.2.1"), QString(), 0),
                 u"[Ping] 192.0.2.1 [192.0.2.1], replied in RTT:0 ms"_s);
        const QString denied = CPingLine::Error(CPingStatus::kNotAllowed);
        QVERIFY(denied.startsWith(u"[Ping] Error 11051: "_s));
        QVERIFY(denied.contains(u"sysctl -w net.ipv4.ping_group_range=\"0 2147483647\""_s));

        QCOMPARE(CPingStatus::FromIcmp(ICMP_TIME_EXCEEDED, ICMP_EXC_TTL),
                 CPingStatus::kTtlExpiredTransit);
        QCOMPARE(CPingStatus::FromIcmp(ICMP_TIME_EXCEEDED, ICMP_EXC_FRAGTIME),
                 CPingStatus::kTtlExpiredReassembly);
        QCOMPARE(CPingStatus::FromIcmp(ICMP_DEST_UNREACH, ICMP_HOST_UNREACH),
                 CPingStatus::kDestHostUnreachable);

        const QByteArray sent(32, '\x45');
        QCOMPARE(CIcmpPinger::CheckPayload(sent, 32), 0);
        // Only the low 8 bits of the size count: 288 is 32.
        QCOMPARE(CIcmpPinger::CheckPayload(sent, 288), 0);
        QCOMPARE(CIcmpPinger::CheckPayload(sent.left(31), 32), 59);
        QByteArray changed = sent;
        changed[17] = 'F';
        QCOMPARE(CIcmpPinger::CheckPayload(changed, 32), 59);
    }

    void refusedSocketsAndTwoRequestsPerClick()
    {
        // Both kinds refused as a stock Debian refuses them to a user: the line says how
        // to allow pings, and each of the two requests tried both kinds.
        QList<int> asked;
        const auto refuse = [&asked](int type) {
            asked << type;
            errno = type == SOCK_DGRAM ? EACCES : EPERM;
            return -1;
        };
        QCOMPARE(CPingClick::Run(u"127.0.0.1"_s, refuse),
                 CPingLine::Error(CPingStatus::kNotAllowed));
        QCOMPARE(asked, (QList<int>{SOCK_DGRAM, SOCK_RAW, SOCK_DGRAM, SOCK_RAW}));
        // Any other failure is the system's own code.
        const auto exhausted = [](int) {
            errno = EMFILE;
            return -1;
        };
        QCOMPARE(CPingClick::Run(u"127.0.0.1"_s, exhausted),
                 u"[Ping] Error 24: Too many open files"_s);

        // The real thing on the loopback: root pings through whichever kind this system
        // allows, two sockets for one click.
        int opened = 0;
        const auto counting = [&opened](int type) {
            const int fd = CIcmpPinger::SystemOpener()(type);
            opened += fd >= 0 ? 1 : 0;
            return fd;
        };
        const QString line = CPingClick::Run(u"127.0.0.1"_s, counting);
        if (line != CPingLine::Error(CPingStatus::kNotAllowed)) {
            QVERIFY2(QRegularExpression(u"^\\[Ping\\] 127\\.0\\.0\\.1 \\[[^\\]]+\\], "
                                        u"replied in RTT:\\d+ ms$"_s)
                         .match(line)
                         .hasMatch(),
                     qPrintable(line));
            QCOMPARE(opened, 2);
        }
    }

    void chainOfRouters()
    {
        if (const QString why = CToolHelper::Unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        const QString prefix = u"ovping%1-"_s.arg(QCoreApplication::applicationPid());
        if (!CToolHelper::Ip({u"netns"_s, u"add"_s, prefix + u"probe"_s}))
            QSKIP("Network namespaces cannot be made here");
        CToolHelper::Ip({u"netns"_s, u"del"_s, prefix + u"probe"_s});

        const QString script = QFINDTESTDATA("hopchain.sh");
        const auto chain = [&](const QString& command) {
            return QProcess::execute(u"/bin/bash"_s,
                                     {script, command, prefix, QString::number(kRouters)});
        };
        const struct Down {
            std::function<int(const QString&)> run;
            ~Down() { run(u"down"_s); }
        } down{chain};
        QCOMPARE(chain(u"up"_s), 0);

        QTemporaryDir dir;
        QFile hosts(dir.filePath(u"hosts"_s));
        QVERIFY(hosts.open(QIODevice::WriteOnly));
        hosts.write("127.0.0.1 localhost\n10.66.9.2 tenth.test\n10.66.12.2 far.test\n");
        hosts.close();

        // From the first host, with ICMP datagram sockets allowed and no raw socket at
        // all: time to live 10 reaches the tenth router and not the eleventh.
        const std::optional<QStringList> lines = CToolHelper::Run(
            {u"--hosts"_s, hosts.fileName(), u"--no-raw"_s, u"ping:10.66.9.2"_s,
             u"ping:10.66.10.2"_s, u"ping:far.test"_s, u"ping:nowhere.test"_s, u"kinds"_s},
            prefix + u"0"_s);
        QVERIFY(lines);
        QCOMPARE(lines->size(), 5);
        QVERIFY2(QRegularExpression(
                     u"^\\[Ping\\] 10\\.66\\.9\\.2 \\[tenth\\.test\\], replied in RTT:\\d+ ms$"_s)
                     .match(lines->at(0))
                     .hasMatch(),
                 qPrintable(lines->at(0)));
        QCOMPARE(lines->at(1), u"[Ping] Error 11013: Time to live expired in transit"_s);
        QCOMPARE(lines->at(2), u"[Ping] Error 11013: Time to live expired in transit"_s);
        QCOMPARE(lines->at(3), u"[Ping] Error 11001: Host not found"_s);
        QCOMPARE(lines->at(4), u"dgram dgram dgram dgram dgram dgram"_s);

        // A namespace as a stock system has it (ping_group_range "1 0") and no CAP_NET_RAW:
        // the line explains.
        const std::optional<QStringList> refused =
            CToolHelper::Run({u"--no-raw"_s, u"ping:10.66.0.1"_s, u"kinds"_s}, prefix + u"1"_s);
        QVERIFY(refused);
        QCOMPARE(*refused, QStringList{CPingLine::Error(CPingStatus::kNotAllowed)});
    }

private:
    static constexpr int kRouters = 12;
};

int main(int argc, char** argv)
{
    if (const std::optional<int> result = CToolHelper::RunChild(argc, argv))
        return *result;
    QCoreApplication app(argc, argv);
    TestIcmpPinger test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_icmppinger.moc"
