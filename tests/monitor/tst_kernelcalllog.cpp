#include "common/apppaths.h"
#include "common/settingsstore.h"
#include "monitor/connectionmonitor.h"
#include "monitor/counterworker.h"

#include "support/testclock.h"

#include "support/monitorfakes.h"
#include "support/netnslink.h"
#include "support/scriptedremoteaccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Runs inside the first namespace: a connection monitor with the real counter worker,
// reading that namespace's interfaces, and a remote-access service that reports a call
// on ppp0 when told. Reads commands from stdin, one a line, and answers each with one
// line:
//   start    the monitor starts           -> "ready"
//   connect  the call appears, a second on -> the call values "DURATION|IN|OUT"
//   tick     a second on                  -> the call values
//   drop     the call is gone, a second on -> "log:" and the log file's content
// Each command but drop waits until the counter worker has finished the queries it asked
// for; a worker that does not finish answers "busy".
int RunCallMonitor(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // The call runs over midnight into a new year.
    CTestClock clock(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)));
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::printf("no temporary folder\n");
        return 1;
    }
    CSettingsStore store(dir.filePath(u"ov.ini"_s));
    CScriptedRemoteAccess remoteAccess;
    CRecordingSink sink;
    CRecordingServices services;
    CRecordingSound sound;
    CCounterWorker counters(nullptr);
    if (!counters.Start()) {
        std::printf("no counters\n");
        return 1;
    }
    counters.SetQueryEnabled(true);
    CConnectionMonitor monitor(store, remoteAccess, &counters, sink, services, sound);

    CActiveConnection call;
    call.handle = 7;
    call.entryName = u"Home ISP"_s;
    call.deviceName = u"Test modem"_s;
    call.interfaceName = u"ppp0"_s;

    const auto idle = [&counters] {
        return QTest::qWaitFor([&counters] { return !counters.Busy(); }, 10000);
    };
    const auto answer = [](const QString& text) {
        std::printf("%s\n", qPrintable(text));
        std::fflush(stdout);
    };
    const auto values = [&] { return idle() ? sink.values.join(u'|') : u"busy"_s; };

    std::string line;
    while (std::getline(std::cin, line)) {
        if (line == "start") {
            monitor.Start(u"tester"_s);
            answer(idle() ? u"ready"_s : u"busy"_s);
        } else if (line == "connect") {
            remoteAccess.connections = {call};
            clock.AdvanceSecs(1);
            monitor.Poll();
            answer(values());
        } else if (line == "tick") {
            clock.AdvanceSecs(1);
            monitor.Poll();
            answer(values());
        } else if (line == "drop") {
            remoteAccess.connections.clear();
            clock.AdvanceSecs(1);
            monitor.Poll();
            QFile log(CAppPaths::LogFile(store));
            const QByteArray text = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
            answer(u"log:"_s + QString::fromUtf8(text).trimmed());
        } else {
            answer(u"unknown command"_s);
        }
    }
    monitor.Shutdown();
    return 0;
}

} // namespace

// A whole call through the connection monitor, its counter worker and the log, over a
// kernel interface that carries exactly the traffic the test sends.
class TestKernelCallLog : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void loggedBytesAreTheBytesOnTheLink();

private:
    QByteArray Say(const QByteArray& command);

    std::unique_ptr<CNetnsLink> m_link;
    std::unique_ptr<QProcess> m_monitor;
};

void TestKernelCallLog::cleanup()
{
    if (m_monitor) {
        m_monitor->closeWriteChannel();
        if (!m_monitor->waitForFinished(10000))
            m_monitor->kill();
        m_monitor->waitForFinished(5000);
        m_monitor.reset();
    }
    m_link.reset(); // removes the namespaces
}

void TestKernelCallLog::loggedBytesAreTheBytesOnTheLink()
{
    m_link = std::make_unique<CNetnsLink>();
    const QString unavailable = m_link->Unavailable();
    if (!unavailable.isEmpty())
        QSKIP(qPrintable(unavailable));
    const std::optional<bool> made = m_link->MakeNamespaces(u"orvcall"_s);
    if (!made)
        QSKIP("Cannot make network namespaces here");
    QVERIFY(*made);
    QVERIFY(m_link->MakeLink());

    m_monitor = std::make_unique<QProcess>();
    QVERIFY(m_link->StartInside(*m_monitor, {u"--call-monitor"_s}));
    QCOMPARE(Say("start"), QByteArray("ready"));
    QCOMPARE(Say("connect"), QByteArray("00:00:00|0|0"));

    // Traffic while connected: 10 echoes (requests out, answers in) and 4 datagrams out,
    // every packet 1042 bytes on the wire.
    const quint64 packet = CNetnsLink::kPacketWireBytes;
    QVERIFY(m_link->Echo(10));
    // Each second the monitor shows what the last finished query read (here from before
    // the echoes) and asks for the next one (which reads them).
    QCOMPARE(Say("tick"), QByteArray("00:00:01|0|0"));
    QVERIFY(m_link->SendOneWay(4));
    QCOMPARE(Say("tick"),
             "00:00:02|" + QByteArray::number(10 * packet) + '|' + QByteArray::number(10 * packet));
    QVERIFY(m_link->Echo(3));
    QCOMPARE(Say("tick"),
             "00:00:03|" + QByteArray::number(10 * packet) + '|' + QByteArray::number(14 * packet));
    const QByteArray received = QByteArray::number(13 * packet);
    const QByteArray sent = QByteArray::number(17 * packet);
    QCOMPARE(Say("tick"), "00:00:04|" + received + '|' + sent);

    // Uploaded (sent) before downloaded (received).
    QCOMPARE(Say("drop"), "log:31-12-2026|23:59:59|01-01-2027|00:00:04|tester|Test modem|"
                          "Home ISP|" +
                              sent + '|' + received + '|');

    // The monitor and its worker end cleanly when the input ends.
    m_monitor->closeWriteChannel();
    QVERIFY(m_monitor->waitForFinished(10000));
    QCOMPARE(m_monitor->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_monitor->exitCode(), 0);
}

QByteArray TestKernelCallLog::Say(const QByteArray& command)
{
    const std::optional<QByteArray> line = CNetnsLink::Converse(*m_monitor, command);
    return line ? *line : QByteArray("(no answer)");
}

// The test runs itself inside a namespace for the monitor, the traffic and the IPv6
// switch.
int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--call-monitor") == 0)
        return RunCallMonitor(argc, argv);
    if (const std::optional<int> result = CNetnsLink::RunHelperMode(argc, argv))
        return *result;
    QCoreApplication app(argc, argv);
    TestKernelCallLog test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kernelcalllog.moc"
