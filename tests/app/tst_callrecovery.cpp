#include "common/settingsstore.h"

#include "support/programrunner.h"

#include <QDateTime>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

// The real program over the connection simulator, ended in the ways a desktop ends it
// during a call: killed, logged out (SIGTERM), interrupted, its terminal closed.
class TestCallRecovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_run = std::make_unique<CProgramRunner>(QStringLiteral(ORVALIS_EXECUTABLE));
        QVERIFY(m_run->IsValid());
        QVERIFY(QDir().mkpath(m_run->FilePath(u"config/orvalis"_s)));
        CSettingsStore settings(Path(u"ov.ini"_s));
        settings.Write(Keys::ShowSplash, 0);
        settings.Write(Keys::ConfirmHangup, 0);
        settings.Write(Keys::ConfirmExit, 0);
    }

    void cleanup() { m_run.reset(); }

    // Killed during a call; the line drops before the next start: one record, ending
    // within a minute of the truth.
    void killedWhileTheLineDrops()
    {
        QProcess* program = StartProgram();
        const QDateTime start = ConnectAndWaitForJournal();
        const QDateTime killed = QDateTime::currentDateTime();
        program->kill();
        QVERIFY(program->waitForFinished(5000));
        QVERIFY(Sim(u"drop"_s));

        StartProgram();
        QTRY_COMPARE_WITH_TIMEOUT(LogLines().size(), 1, 15000);
        const QStringList fields = LogLines().first().split(u'|');
        QCOMPARE(fields.value(0) + u' ' + fields.value(1),
                 start.toString(u"dd-MM-yyyy HH:mm:ss"_s));
        const QDateTime end = QDateTime::fromString(fields.value(2) + u' ' + fields.value(3),
                                                    u"dd-MM-yyyy HH:mm:ss"_s);
        QVERIFY(end.isValid());
        QVERIFY2(std::abs(end.secsTo(killed)) <= 60, qPrintable(LogLines().first()));
        QCOMPARE(fields.value(6), u"Home ISP"_s);
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(Path(u"logfile.journal"_s)), 5000);
    }

    // Killed during a call that is still up at the next start: the call is taken over and
    // gives one record from its real start.
    void killedWhileTheLineStaysUp()
    {
        QProcess* program = StartProgram();
        const QDateTime start = ConnectAndWaitForJournal();
        program->kill();
        QVERIFY(program->waitForFinished(5000));
        // The next run starts in a later second than the call, so its sighting can be told
        // from the first run's.
        QTRY_VERIFY(QDateTime::currentDateTime() >= start.addSecs(2));

        StartProgram();
        // The new run shows it took the call over by journaling it again.
        QTRY_VERIFY_WITH_TIMEOUT(JournalTime("last=") > start, 15000);
        const QDateTime takenOver = JournalTime("last=");
        QVERIFY(Sim(u"drop"_s));
        QTRY_COMPARE_WITH_TIMEOUT(LogLines().size(), 1, 15000);
        const QStringList fields = LogLines().first().split(u'|');
        QCOMPARE(fields.value(0) + u' ' + fields.value(1),
                 start.toString(u"dd-MM-yyyy HH:mm:ss"_s));
        const QDateTime end = QDateTime::fromString(fields.value(2) + u' ' + fields.value(3),
                                                    u"dd-MM-yyyy HH:mm:ss"_s);
        QVERIFY(end >= takenOver);
    }

    // SIGTERM, SIGINT and SIGHUP end the program as Exit does: a normal exit, the window
    // position saved, the call journaled; the next run finishes the call as one record.
    void endingSignalsStopCleanly_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void endingSignalsStopCleanly()
    {
        QFETCH(int, signalNumber);
        QProcess* program = StartProgram();
        const QDateTime start = ConnectAndWaitForJournal();
        QCOMPARE(::kill(static_cast<pid_t>(program->processId()), signalNumber), 0);
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        QVERIFY(CSettingsStore(Path(u"ov.ini"_s)).Read(Keys::WindowRight, -1) != -1);
        QVERIFY(Journal().contains("entry=Home%20ISP"));
        QVERIFY(LogLines().isEmpty());

        StartProgram();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        QVERIFY(Sim(u"drop"_s));
        QTRY_COMPARE_WITH_TIMEOUT(LogLines().size(), 1, 15000);
        QCOMPARE(LogLines().first().left(19), start.toString(u"dd-MM-yyyy|HH:mm:ss"_s));
    }

private:
    // Brings a simulated line up and waits until the program has journaled it; returns
    // the start the journal holds.
    QDateTime ConnectAndWaitForJournal()
    {
        [&] { QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000); }();
        [&] { QVERIFY(Sim(u"connect Home ISP"_s)); }();
        [&] { QTRY_VERIFY_WITH_TIMEOUT(Journal().contains("start="), 15000); }();
        return JournalTime("start=");
    }

    QDateTime JournalTime(const QByteArray& key) const
    {
        for (const QByteArray& line : Journal().split('\n')) {
            if (line.startsWith(key))
                return QDateTime::fromString(QString::fromLatin1(line.mid(key.size())),
                                             u"yyyy-MM-dd HH:mm:ss"_s);
        }
        return {};
    }

    QByteArray Journal() const
    {
        QFile file(Path(u"logfile.journal"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList LogLines() const { return CProgramRunner::ReadLines(Path(u"logfile.log"_s)); }
    QString Path(const QString& name) const { return m_run->ConfigFile(name); }
    bool Listening() const { return m_run->Listening(); }
    bool Sim(const QString& command) { return m_run->Sim(command); }
    QProcess* StartProgram() { return m_run->Start({u"--backend=sim"_s}); }

    std::unique_ptr<CProgramRunner> m_run;
};

QTEST_GUILESS_MAIN(TestCallRecovery)
#include "tst_callrecovery.moc"
