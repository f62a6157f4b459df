#include "common/settingsstore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

// Starts the real program, offscreen, with its own home, config and runtime folders.
namespace {
// The stored value of a key, or `missing` when the file does not have it.
int StoredOr(const QString& ini, const CIntKey& key, int missing)
{
    return CSettingsStore(ini).ReadInt(QLatin1String(key.section), QLatin1String(key.name),
                                       missing);
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QDir(m_dir->path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(m_dir->filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void cleanup()
    {
        for (auto& process : m_processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
        m_processes.clear();
    }

    void firstStartCreatesPrivateSettings()
    {
        QProcess* first = Start();
        const QString ini = IniPath();
        // The splash shows for two seconds before the settings are first written.
        QTRY_VERIFY_WITH_TIMEOUT(StoredOr(ini, Keys::HangupSecsToHangup, -1) == 0, 15000);
        QCOMPARE(StoredOr(ini, Keys::DialSecsToDial, -1), 0);
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
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("runtime/orvalis.sock"))));
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
        const QString simFile = m_dir->filePath(QStringLiteral("config/orvalis/simulator.ini"));
        const QString log = m_dir->filePath(QStringLiteral("config/orvalis/logfile.log"));
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

private:
    bool Sim(const QString& command)
    {
        QProcess* process = Start({QStringLiteral("--sim"), command});
        return process->waitForFinished(10000) && process->exitCode() == 0;
    }

    static QStringList ReadLines(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QString IniPath() const { return m_dir->filePath(QStringLiteral("config/orvalis/ov.ini")); }

    bool Listening() const
    {
        QLocalSocket socket;
        socket.connectToServer(m_dir->filePath(QStringLiteral("runtime/orvalis.sock")));
        return socket.waitForConnected(200);
    }

    QProcess* Start(const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir->filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir->filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(ORVALIS_EXECUTABLE), arguments);
        process->waitForStarted(5000);
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
