#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorscript.h"
#include "support/testclock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

class TestSimulatorScript : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectAndDropDriveTheBackend();
    void connectRefusals();
    void busyAndFailSteerTheNextDials();
    void entriesReplaceThePhonebook();
    void rateChangesTheGrowth();
    void statusDescribesTheState();
    void badCommandsChangeNothing_data();
    void badCommandsChangeNothing();
    void unwritableFileIsReported();

private:
    QString FilePath() const { return m_dir->filePath(u"simulator.ini"_s); }
    QString Read(const char* section, const char* key) const
    {
        return CSettingsStore(FilePath()).ReadString(section, key, u"<none>"_s);
    }
    bool Run(const QString& command, QString* message = nullptr)
    {
        QString text;
        const bool ok = CSimulatorScript(FilePath()).Run(command, text);
        if (message)
            *message = text;
        return ok;
    }

    std::optional<QTemporaryDir> m_dir;
    std::optional<CTestClock> m_clock;
    const QDateTime m_start = QDateTime(QDate(2024, 5, 6), QTime(20, 15, 0));
};

void TestSimulatorScript::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_clock.emplace(m_start);
}

void TestSimulatorScript::cleanup()
{
    m_clock.reset();
    m_dir.reset();
}

void TestSimulatorScript::connectAndDropDriveTheBackend()
{
    CSimRemoteAccess sim(FilePath());
    QList<CActiveConnection> list;
    QCOMPARE(sim.EnumConnections(list), 0);
    QVERIFY(list.isEmpty());

    QString message;
    QVERIFY(Run(u"connect \"Home ISP\""_s, &message));
    QCOMPARE(message, u"Home ISP is connected."_s);
    QCOMPARE(Read("Line", "Connected"), u"Home ISP"_s);
    QCOMPARE(Read("Line", "Since"), QString::number(m_start.toMSecsSinceEpoch()));

    m_clock->AdvanceSecs(3);
    QCOMPARE(sim.EnumConnections(list), 0);
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].entryName, u"Home ISP"_s);
    QVERIFY(list[0].handle != 0);
    // The start time written by the command is kept: the line has been up for 3 seconds.
    quint64 in = 0;
    quint64 out = 0;
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(12000));
    QCOMPARE(out, quint64(2400));

    QVERIFY(Run(u"DROP"_s, &message));
    QCOMPARE(message, u"Home ISP was dropped by the remote side."_s);
    QCOMPARE(sim.EnumConnections(list), 0);
    QVERIFY(list.isEmpty());
    QCOMPARE(Read("Line", "Since"), u"<none>"_s);

    QVERIFY(Run(u"drop"_s, &message));
    QCOMPARE(message, u"No connection is up; nothing to drop."_s);

    // An entry outside the phonebook comes up all the same, with a remark.
    QVERIFY(Run(u"connect   Office VPN  "_s, &message));
    QVERIFY(message.contains(u"not in the simulator's phonebook"_s));
    QCOMPARE(sim.EnumConnections(list), 0);
    QCOMPARE(list.value(0).entryName, u"Office VPN"_s);
}

void TestSimulatorScript::connectRefusals()
{
    QString message;
    QVERIFY(!Run(u"connect"_s, &message));
    QVERIFY(message.contains(u"needs the entry name"_s));
    QVERIFY(!Run(u"connect \"\""_s, &message));
    QCOMPARE(Read("Line", "Connected"), QString());

    QVERIFY(Run(u"connect Work"_s));
    QVERIFY(!Run(u"connect Home ISP"_s, &message));
    QVERIFY(message.contains(u"Use \"drop\" first"_s));
    QCOMPARE(Read("Line", "Connected"), u"Work"_s);
    // The same entry again is no error and keeps its start time.
    m_clock->AdvanceSecs(9);
    QVERIFY(Run(u"connect Work"_s, &message));
    QCOMPARE(message, u"Work is already connected."_s);
    QCOMPARE(Read("Line", "Since"), QString::number(m_start.toMSecsSinceEpoch()));
}

void TestSimulatorScript::busyAndFailSteerTheNextDials()
{
    CSimRemoteAccess sim(FilePath());
    CSettingsStore(FilePath()).WriteInt(u"Dial"_s, u"StepMs"_s, 1);

    QString message;
    QVERIFY(Run(u"busy 2"_s, &message));
    QCOMPARE(message, u"The next 2 dials find the line busy."_s);
    QCOMPARE(Read("Dial", "BusyTimes"), u"2"_s);
    QVERIFY(Run(u"busy"_s));
    QCOMPARE(Read("Dial", "BusyTimes"), u"1"_s);

    const auto dial = [&sim](unsigned& state, unsigned& error) {
        bool done = false;
        CRemoteAccess::Handle handle = 0;
        const int rc = sim.Dial(
            u"Work"_s, {}, {},
            [&](unsigned s, unsigned e) {
                state = s;
                error = e;
                done = done || e != 0 || s == CRemoteAccess::Connected;
            },
            handle);
        if (rc != 0) {
            error = unsigned(rc);
            return;
        }
        QTRY_VERIFY(done);
    };
    unsigned state = 0;
    unsigned error = 0;
    dial(state, error);
    QCOMPARE(error, unsigned(CRemoteAccess::ErrorLineBusy));

    QVERIFY(Run(u"fail 678"_s, &message));
    QVERIFY2(message.contains(u"678 (The remote computer did not answer.)"_s), qPrintable(message));
    dial(state, error);
    QCOMPARE(error, unsigned(CRemoteAccess::ErrorNoAnswer));
    dial(state, error);
    QCOMPARE(error, unsigned(CRemoteAccess::ErrorNoAnswer));

    QVERIFY(Run(u"busy 3"_s));
    QVERIFY(Run(u"ok"_s, &message));
    QCOMPARE(message, u"Dials work again."_s);
    QCOMPARE(Read("Dial", "BusyTimes"), u"0"_s);
    QCOMPARE(Read("Dial", "FailCode"), u"0"_s);
    dial(state, error);
    QCOMPARE(error, 0u);
    QCOMPARE(state, unsigned(CRemoteAccess::Connected));

    QVERIFY(Run(u"fail 691"_s));
    QVERIFY(Run(u"fail 0"_s, &message));
    QCOMPARE(message, u"Dials no longer fail."_s);
    QCOMPARE(Read("Dial", "FailCode"), u"0"_s);
}

void TestSimulatorScript::entriesReplaceThePhonebook()
{
    CSimRemoteAccess sim(FilePath());
    QString message;
    QVERIFY(Run(u"entries Alpha| Beta |gamma|beta"_s, &message));
    QCOMPARE(message, u"Phonebook: Alpha, Beta, gamma"_s);
    QStringList entries;
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries, QStringList({u"Alpha"_s, u"Beta"_s, u"gamma"_s}));
    QVERIFY(Run(u"entries \"One entry\""_s));
    QCOMPARE(sim.EnumEntries(entries), 0);
    QCOMPARE(entries, QStringList({u"One entry"_s}));
}

void TestSimulatorScript::rateChangesTheGrowth()
{
    CSimRemoteAccess sim(FilePath());
    QVERIFY(Run(u"rate 10 20"_s));
    QCOMPARE(Read("Line", "RateIn"), u"10"_s);
    QCOMPARE(Read("Line", "RateOut"), u"20"_s);

    QVERIFY(Run(u"connect Work"_s));
    m_clock->AdvanceSecs(100);
    QString message;
    QVERIFY(Run(u"rate  0   5"_s, &message));
    QCOMPARE(message, u"Receiving 0 and sending 5 bytes per second."_s);
    m_clock->AdvanceSecs(100);
    quint64 in = 0;
    quint64 out = 0;
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(1000));
    QCOMPARE(out, quint64(2500));

    // A new connection counts from zero again, whatever was counted before.
    QVERIFY(Run(u"drop"_s));
    QVERIFY(Run(u"connect Home ISP"_s));
    m_clock->AdvanceSecs(2);
    QVERIFY(sim.ReadByteCounters(u"ppp0"_s, in, out));
    QCOMPARE(in, quint64(0));
    QCOMPARE(out, quint64(10));
}

void TestSimulatorScript::statusDescribesTheState()
{
    QString message;
    QVERIFY(Run(u"status"_s, &message));
    QVERIFY(message.contains(u"Line: no connection"_s));
    QVERIFY(message.contains(u"Phonebook: Home ISP, Work"_s));
    QVERIFY(message.contains(FilePath()));

    QVERIFY(Run(u"connect Home ISP"_s));
    QVERIFY(Run(u"busy 2"_s));
    m_clock->AdvanceSecs(3725);
    QVERIFY(Run(u"Status"_s, &message));
    QVERIFY2(message.contains(QStringLiteral("Line: Home ISP connected since 06-05-2024 20:15:00 "
                                             "(01:02:05) on Simulated modem, ppp0")),
             qPrintable(message));
    QVERIFY2(message.contains(u"Bytes: 14900000 received, 2980000 sent"_s), qPrintable(message));
    QVERIFY2(message.contains(u"busy for the next 2 dial(s) at step 3"_s), qPrintable(message));
}

void TestSimulatorScript::badCommandsChangeNothing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << u"No simulator command given."_s;
    QTest::newRow("blank") << u"   "_s << u"No simulator command given."_s;
    QTest::newRow("unknown") << u"explode now"_s << u"Unknown simulator command \"explode\"."_s;
    QTest::newRow("busy negative") << u"busy -1"_s << u"\"busy\" needs"_s;
    QTest::newRow("busy word") << u"busy lots"_s << u"\"busy\" needs"_s;
    QTest::newRow("busy huge") << u"busy 99999999999"_s << u"\"busy\" needs"_s;
    QTest::newRow("fail missing") << u"fail"_s << u"\"fail\" needs"_s;
    QTest::newRow("fail word") << u"fail abc"_s << u"\"fail\" needs"_s;
    QTest::newRow("fail two") << u"fail 678 680"_s << u"\"fail\" needs"_s;
    QTest::newRow("rate one") << u"rate 5"_s << u"\"rate\" needs"_s;
    QTest::newRow("rate words") << u"rate a b"_s << u"\"rate\" needs"_s;
    QTest::newRow("rate three") << u"rate 1 2 3"_s << u"\"rate\" needs"_s;
    QTest::newRow("entries none") << u"entries"_s << u"\"entries\" needs"_s;
    QTest::newRow("entries bars") << u"entries | |"_s << u"\"entries\" needs"_s;
    QTest::newRow("drop argument") << u"drop everything"_s << u"\"drop\" takes no argument."_s;
    QTest::newRow("ok argument") << u"ok 1"_s << u"\"ok\" takes no argument."_s;
    QTest::newRow("status argument") << u"status x"_s << u"\"status\" takes no argument."_s;
}

void TestSimulatorScript::badCommandsChangeNothing()
{
    QFETCH(QString, command);
    QFETCH(QString, expected);

    QVERIFY(Run(u"busy 4"_s));
    QVERIFY(Run(u"fail 680"_s));
    QVERIFY(Run(u"connect Work"_s));
    QFile file(FilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QString message;
    QVERIFY(!Run(command, &message));
    QVERIFY2(message.startsWith(expected), qPrintable(message));

    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestSimulatorScript::unwritableFileIsReported()
{
    // The folder of the file is a plain file: nothing can be created there.
    const QString blocker = m_dir->filePath(u"blocker"_s);
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QString message;
    QVERIFY(!CSimulatorScript(blocker + u"/simulator.ini"_s).Run(u"busy 1"_s, message));
    QVERIFY2(message.startsWith(u"Cannot create the simulator file"_s), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestSimulatorScript)
#include "tst_simulatorscript.moc"
