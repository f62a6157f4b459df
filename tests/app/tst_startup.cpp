#include "common/settingsstore.h"

#include "support/programrunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

// Starts the real program, offscreen, with its own home, config and runtime folders.
class TestStartup : public QObject {
    Q_OBJECT

private:
    // Runs "--status"; its exit code, and the object it printed when that was 0.
    int Status(QJsonObject& status)
    {
        QProcess* query = Start({QStringLiteral("--status")});
        if (!query->waitForFinished(10000))
            return -1;
        const QByteArray out = query->readAllStandardOutput();
        if (query->exitCode() == 0) {
            if (out.count('\n') != 1)
                return -2;
            status = QJsonDocument::fromJson(out).object();
            if (status.isEmpty())
                return -3;
        }
        return query->exitCode();
    }

private Q_SLOTS:
    void init()
    {
        m_run = std::make_unique<CProgramRunner>(QStringLiteral(ORVALIS_EXECUTABLE));
        QVERIFY(m_run->IsValid());
    }

    void cleanup()
    {
        if (m_stopped > 0)
            ::kill(m_stopped, SIGCONT);
        m_stopped = 0;
        m_run.reset();
    }

    void firstStartCreatesPrivateSettings()
    {
        QProcess* first = Start();
        const QString ini = IniPath();
        // The splash shows for two seconds before the settings are first written.
        QTRY_VERIFY_WITH_TIMEOUT(CSettingsStore(ini).Read(Keys::HangupSecsToHangup, -1) == 0,
                                 15000);
        QCOMPARE(CSettingsStore(ini).Read(Keys::DialSecsToDial, -1), 0);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(ini).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        QCOMPARE(first->state(), QProcess::Running);
    }

    void secondStartEndsWithOne()
    {
        QProcess* first = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);

        QElapsedTimer took;
        took.start();
        QProcess* second = Start();
        QVERIFY(second->waitForFinished(5000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 1);
        QVERIFY2(took.elapsed() < 2000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(first->state(), QProcess::Running);

        // A killed instance leaves its socket and lock file behind; the next start runs.
        first->kill();
        QVERIFY(first->waitForFinished(5000));
        QVERIFY(QFile::exists(m_run->FilePath(QStringLiteral("runtime/orvalis.sock"))));
        QProcess* third = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        QCOMPARE(third->state(), QProcess::Running);
        QProcess* fourth = Start();
        QVERIFY(fourth->waitForFinished(5000));
        QCOMPARE(fourth->exitCode(), 1);
    }

    void simultaneousStartsLeaveOne()
    {
        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);
        QList<QProcess*> starts;
        for (int i = 0; i < 4; ++i)
            starts.append(Start());
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        int running = 0;
        int refused = 0;
        for (QProcess* process : starts) {
            // waitForFinished() is false for a process that has already ended.
            if (process->state() == QProcess::NotRunning || process->waitForFinished(5000)) {
                QCOMPARE(process->exitCode(), 1);
                ++refused;
            } else {
                ++running;
            }
        }
        QCOMPARE(running, 1);
        QCOMPARE(refused, 3);
    }

    void callFromOutsideIsLoggedOnce()
    {
        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);
        CSettingsStore(IniPath()).Write(Keys::ConfirmHangup, 0);
        QProcess* program = Start({QStringLiteral("--backend=sim")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        const QString simFile = m_run->FilePath(QStringLiteral("config/orvalis/simulator.ini"));
        const QString log = m_run->FilePath(QStringLiteral("config/orvalis/logfile.log"));
        for (int call = 1; call <= 2; ++call) {
            QVERIFY(Sim(QStringLiteral("connect Home ISP")));
            // The running program gives a line it has seen its handle.
            QTRY_VERIFY_WITH_TIMEOUT(
                CSettingsStore(simFile).Read(SimKeys::Handle).toLongLong() != 0, 10000);
            QVERIFY(Sim(QStringLiteral("drop")));
            QTRY_COMPARE_WITH_TIMEOUT(ReadLines(log).size(), call, 10000);
        }
        // A hang-up asked for from a shell, by number and by name.
        for (const QString& hangup : {QStringLiteral("32812"), QStringLiteral("hangup")}) {
            QVERIFY(Sim(QStringLiteral("connect Home ISP")));
            QTRY_VERIFY_WITH_TIMEOUT(
                CSettingsStore(simFile).Read(SimKeys::Handle).toLongLong() != 0, 10000);
            QProcess* command = Start({QStringLiteral("--command"), hangup});
            QVERIFY(command->waitForFinished(10000));
            QCOMPARE(command->exitCode(), 0);
            QTRY_VERIFY_WITH_TIMEOUT(CSettingsStore(simFile).Read(SimKeys::Connected).isEmpty(),
                                     10000);
            QTRY_COMPARE_WITH_TIMEOUT(ReadLines(log).size(),
                                      hangup == QStringLiteral("hangup") ? 4 : 3, 10000);
        }
        const QRegularExpression record(QStringLiteral(
            R"(^\d\d-\d\d-\d{4}\|\d\d:\d\d:\d\d\|\d\d-\d\d-\d{4}\|\d\d:\d\d:\d\d\|[^|]+\|Simulated modem\|Home ISP\|-?\d+\|-?\d+\|$)"));
        for (const QString& line : ReadLines(log))
            QVERIFY2(record.match(line).hasMatch(), qPrintable(line));
        QCOMPARE(program->state(), QProcess::Running);
    }

    // A box at start (here: a record the last run left cannot go into the log) is shown
    // once the program watches: calls are seen while it is up, and SIGTERM ends the
    // program without anyone answering it.
    void startBoxLeavesTheProgramWatching()
    {
        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);
        const QString log = m_run->ConfigFile(QStringLiteral("logfile.log"));
        const QString journal = m_run->ConfigFile(QStringLiteral("logfile.journal"));
        QVERIFY(QDir().mkpath(log));
        {
            QFile file(journal);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("pending=01-03-2024|10:00:00|01-03-2024|10:05:00|me|Simulated modem|"
                       "Home ISP|100|200|\n");
        }
        QProcess* program = Start({QStringLiteral("--backend=sim")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        const QString simFile = m_run->FilePath(QStringLiteral("config/orvalis/simulator.ini"));
        QVERIFY(Sim(QStringLiteral("connect Home ISP")));
        // The running program gives a line it has seen its handle.
        QTRY_VERIFY_WITH_TIMEOUT(CSettingsStore(simFile).Read(SimKeys::Handle).toLongLong() != 0,
                                 10000);

        program->terminate();
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        // The record still waits for the log, and the call is journaled for the next run.
        QFile file(journal);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray kept = file.readAll();
        QVERIFY2(kept.contains("pending=") && kept.contains("start="), kept.constData());
    }

    // A script asks how the call stands: one line of JSON, or exit code 1 with nobody there.
    void statusFromShell()
    {
        QJsonObject status;
        QCOMPARE(Status(status), 1);

        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);
        QProcess* program = Start({QStringLiteral("--backend=sim")});
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(Status(status), 0, 15000);
        QCOMPARE(status.value(QStringLiteral("connected")).toBool(true), false);
        QCOMPARE(status.value(QStringLiteral("seconds")).toInteger(-1), 0);

        QVERIFY(Sim(QStringLiteral("connect My ISP \"night\"")));
        QTRY_VERIFY_WITH_TIMEOUT(
            Status(status) == 0 && status.value(QStringLiteral("connected")).toBool(), 10000);
        QCOMPARE(status.value(QStringLiteral("entry")).toString(),
                 QStringLiteral("My ISP \"night\""));
        QCOMPARE(status.value(QStringLiteral("device")).toString(),
                 QStringLiteral("Simulated modem"));
        QVERIFY(status.value(QStringLiteral("seconds")).toInteger(-1) >= 0);
        QVERIFY(QDateTime::fromString(status.value(QStringLiteral("start")).toString(), Qt::ISODate)
                    .isValid());
        QVERIFY(status.value(QStringLiteral("received")).toInteger(-1) >= 0);

        QVERIFY(Sim(QStringLiteral("drop")));
        QTRY_VERIFY_WITH_TIMEOUT(
            Status(status) == 0 && !status.value(QStringLiteral("connected")).toBool(true), 10000);
        QCOMPARE(program->state(), QProcess::Running);
        QProcess* both = Start({QStringLiteral("--status"), QStringLiteral("--command=show")});
        QVERIFY(both->waitForFinished(5000));
        QCOMPARE(both->exitCode(), 2);
    }

    void badCommandLine()
    {
        QProcess* process = Start({QStringLiteral("--no-such-option")});
        QVERIFY(process->waitForFinished(10000));
        QCOMPARE(process->exitCode(), 2);
        // A command while no instance runs: said so, exit code 1.
        QProcess* lonely = Start({QStringLiteral("--command"), QStringLiteral("hangup")});
        QVERIFY(lonely->waitForFinished(10000));
        QCOMPARE(lonely->exitCode(), 1);
        QVERIFY(lonely->readAllStandardError().contains("Orvalis is not running."));
        QVERIFY(process->readAllStandardError().contains("Unknown option 'no-such-option'."));
    }

    void commandMessages()
    {
        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);
        QProcess* program = Start();
        QTRY_VERIFY_WITH_TIMEOUT(Listening(), 15000);

        // A name nobody knows is refused before the instance is asked.
        QProcess* bogus = Start({QStringLiteral("--command"), QStringLiteral("bogus-name")});
        QVERIFY(bogus->waitForFinished(10000));
        QCOMPARE(bogus->exitCode(), 2);
        QVERIFY(bogus->readAllStandardError().contains("Unknown command: bogus-name"));

        QProcess* show = Start({QStringLiteral("--command"), QStringLiteral("show")});
        QVERIFY(show->waitForFinished(10000));
        QCOMPARE(show->exitCode(), 0);

        // Stopped, the instance still holds its lock and its socket takes connections,
        // but nothing answers.
        m_stopped = static_cast<pid_t>(program->processId());
        QCOMPARE(::kill(m_stopped, SIGSTOP), 0);
        QElapsedTimer took;
        took.start();
        QProcess* silent = Start({QStringLiteral("--command"), QStringLiteral("show")});
        QVERIFY(silent->waitForFinished(10000));
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(silent->exitCode(), 1);
        const QByteArray said = silent->readAllStandardError();
        QVERIFY2(said.contains("Orvalis is running but not answering."), said.constData());

        // Going on again, it takes commands as before.
        QCOMPARE(::kill(m_stopped, SIGCONT), 0);
        m_stopped = 0;
        QProcess* again = Start({QStringLiteral("--command"), QStringLiteral("show")});
        QVERIFY(again->waitForFinished(10000));
        QCOMPARE(again->exitCode(), 0);
    }

    void refusedCommand()
    {
        // The program and its instance share one command table, so a refusal cannot be
        // had from a real instance: a listener in its place answers every request with
        // an error.
        QLocalServer server;
        QVERIFY(server.listen(m_run->FilePath(QStringLiteral("runtime/orvalis.sock"))));
        connect(&server, &QLocalServer::newConnection, &server, [&server] {
            QLocalSocket* client = server.nextPendingConnection();
            connect(client, &QLocalSocket::readyRead, client, [client] {
                if (client->canReadLine()) {
                    client->readAll();
                    client->write("error unknown command\n");
                    client->flush();
                }
            });
        });
        QProcess* command = Start({QStringLiteral("--command"), QStringLiteral("hangup")});
        // The listener needs the event loop while the command runs.
        QTRY_COMPARE_WITH_TIMEOUT(command->state(), QProcess::NotRunning, 10000);
        QCOMPARE(command->exitCode(), 2);
        const QByteArray said = command->readAllStandardError();
        QVERIFY2(said.contains("The running Orvalis refused the command: hangup"),
                 said.constData());
    }

    void untrustedSharedRuntimeFolder()
    {
        // No runtime folder from the session, and the shared one made in advance by
        // someone else, open to everyone.
        m_run->SetRuntimeDir(QString());
        const QString tmp = m_run->FilePath(QStringLiteral("tmp"));
        const QString planted = tmp + QStringLiteral("/orvalis-") + QString::number(::geteuid());
        QVERIFY(QDir().mkpath(planted));
        QCOMPARE(::chmod(QFile::encodeName(planted).constData(), 0777), 0);
        CSettingsStore(IniPath()).Write(Keys::ShowSplash, 0);

        QProcess* program = Start();
        const QString own = m_run->FilePath(QStringLiteral("cache/orvalis/run"));
        QTRY_VERIFY_WITH_TIMEOUT(Listening(own + QStringLiteral("/orvalis.sock")), 15000);
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(own).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0700u);
        QVERIFY(QDir(planted).isEmpty(QDir::AllEntries | QDir::System | QDir::Hidden |
                                      QDir::NoDotAndDotDot));

        QProcess* show = Start({QStringLiteral("--command"), QStringLiteral("show")});
        QVERIFY(show->waitForFinished(10000));
        QCOMPARE(show->exitCode(), 0);
        QProcess* second = Start();
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 1);
        QCOMPARE(program->state(), QProcess::Running);
        program->kill();
        QVERIFY(program->waitForFinished(5000));
        const QByteArray said = program->readAllStandardError();
        QCOMPARE(said.count("is not a private folder"), 1);
        QVERIFY2(said.contains(QFile::encodeName(own)), said.constData());
    }

private:
    bool Sim(const QString& command) { return m_run->Sim(command); }
    static QStringList ReadLines(const QString& path) { return CProgramRunner::ReadLines(path); }
    QString IniPath() const { return m_run->ConfigFile(QStringLiteral("ov.ini")); }
    bool Listening() const { return m_run->Listening(); }
    static bool Listening(const QString& socketFile)
    {
        return CProgramRunner::Listening(socketFile);
    }
    QProcess* Start(const QStringList& arguments = {}) { return m_run->Start(arguments); }

    std::unique_ptr<CProgramRunner> m_run;
    // A program stopped by a test, woken again at the end.
    pid_t m_stopped = 0;
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
