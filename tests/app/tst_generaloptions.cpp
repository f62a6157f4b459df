#include "app/autostart.h"
#include "app/generaloptions.h"
#include "app/logmover.h"
#include "common/apppaths.h"
#include "common/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
void WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

dev_t DeviceOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_dev;
}
} // namespace

class TestGeneralOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("config"))));
        m_store = std::make_unique<CSettingsStore>(
            m_dir->filePath(QStringLiteral("config/orvalis/ov.ini")));
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("config/orvalis"))));
    }

    void defaults()
    {
        const CGeneralOptions options = CGeneralOptions::Load(*m_store);
        QCOMPARE(options.logFolder, m_dir->filePath(QStringLiteral("config/orvalis/")));
        QVERIFY(options.startWithDesktop && options.showMainWindow && options.showSplash);
        QVERIFY(options.confirmHangup && options.confirmExit);
        QVERIFY(!options.showWhenConnected);
        QCOMPARE(CAppPaths::LogFile(*m_store),
                 m_dir->filePath(QStringLiteral("config/orvalis/logfile.log")));
    }

    void storeWritesEveryKey()
    {
        CGeneralOptions options = CGeneralOptions::Load(*m_store);
        options.startWithDesktop = false;
        options.showMainWindow = false;
        options.showSplash = false;
        options.showWhenConnected = true;
        options.confirmHangup = false;
        options.confirmExit = false;
        options.Store(*m_store, QStringLiteral("/usr/bin/orvalis"));
        const QString s = QStringLiteral("Settings");
        QCOMPARE(m_store->Read(Keys::StartWhenWindows, 9), 0);
        QCOMPARE(m_store->Read(Keys::HideOnStart, 9), 0);
        QCOMPARE(m_store->Read(Keys::ShowSplash, 9), 0);
        QCOMPARE(m_store->Read(Keys::ShowWhenConnected, 9), 1);
        QCOMPARE(m_store->Read(Keys::ConfirmHangup, 9), 0);
        QCOMPARE(m_store->Read(Keys::ConfirmExit, 9), 0);
        const CGeneralOptions back = CGeneralOptions::Load(*m_store);
        QVERIFY(!back.showMainWindow && back.showWhenConnected && !back.confirmExit);
    }

    void logFollowsTheFolderTwice()
    {
        const QString first = m_dir->filePath(QStringLiteral("logs1"));
        const QString second = m_dir->filePath(QStringLiteral("logs2"));
        WriteFile(CAppPaths::LogFile(*m_store),
                  "01-01-2000|10:00:00|01-01-2000|10:01:00|a|m|isp|1|2|\n");

        CGeneralOptions options = CGeneralOptions::Load(*m_store);
        options.logFolder = first;
        options.Store(*m_store, {});
        QCOMPARE(CAppPaths::LogFile(*m_store), first + QStringLiteral("/logfile.log"));
        QVERIFY(ReadFile(first + QStringLiteral("/logfile.log")).startsWith("01-01-2000"));

        // A folder text with a trailing slash works the same.
        options.logFolder = second + u'/';
        options.Store(*m_store, {});
        QVERIFY(!QFile::exists(first + QStringLiteral("/logfile.log")));
        QVERIFY(ReadFile(second + QStringLiteral("/logfile.log")).startsWith("01-01-2000"));
    }

    void existingLogAtDestinationWins()
    {
        const QString other = m_dir->filePath(QStringLiteral("other"));
        QVERIFY(QDir().mkpath(other));
        WriteFile(CAppPaths::LogFile(*m_store), "old\n");
        WriteFile(other + QStringLiteral("/logfile.log"), "new\n");
        CGeneralOptions options = CGeneralOptions::Load(*m_store);
        const QString oldLog = CAppPaths::LogFile(*m_store);
        options.logFolder = other;
        options.Store(*m_store, {});
        QCOMPARE(ReadFile(oldLog), QByteArray("old\n"));
        QCOMPARE(ReadFile(CAppPaths::LogFile(*m_store)), QByteArray("new\n"));
        // Same folder again: nothing moves, nothing is lost.
        options.Store(*m_store, {});
        QCOMPARE(ReadFile(CAppPaths::LogFile(*m_store)), QByteArray("new\n"));
    }

    void moveAcrossFileSystems()
    {
        QTemporaryDir shm(QStringLiteral("/dev/shm/orvalis-test-XXXXXX"));
        if (!shm.isValid() || DeviceOf(shm.path()) == DeviceOf(m_dir->path()))
            QSKIP("no second file system to move to");
        QByteArray content;
        for (int i = 0; i < 20000; ++i)
            content += "07-12-2026|08:00:00|07-12-2026|08:30:00|user|modem|isp|123|456|\n";
        const QString source = m_dir->filePath(QStringLiteral("logfile.log"));
        WriteFile(source, content);
        const QString target = shm.filePath(QStringLiteral("sub/logfile.log"));
        QCOMPARE(CLogMover::Move(source, target), CLogMover::Result::Moved);
        QCOMPARE(ReadFile(target), content);
        QVERIFY(!QFile::exists(source));
        QCOMPARE(QDir(shm.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("logfile.log")});

        // Back again onto a file that exists: refused, both kept.
        WriteFile(source, "other\n");
        QCOMPARE(CLogMover::Move(target, source), CLogMover::Result::DestinationExists);
        QCOMPARE(ReadFile(source), QByteArray("other\n"));
        QCOMPARE(ReadFile(target), content);
    }

    void moveWithoutSource()
    {
        QCOMPARE(CLogMover::Move(m_dir->filePath(QStringLiteral("none.log")),
                                 m_dir->filePath(QStringLiteral("x/logfile.log"))),
                 CLogMover::Result::NoSource);
    }

    void autostartEntry()
    {
        QVERIFY(!CAutostart::IsSet());
        // Unticking with no entry changes nothing and reports nothing.
        CAutostart::Set(false, QStringLiteral("/opt/orvalis/orvalis"));
        QVERIFY(!CAutostart::IsSet());

        CGeneralOptions options = CGeneralOptions::Load(*m_store);
        options.startWithDesktop = true;
        options.Store(*m_store, QStringLiteral("/opt/my apps/$orvalis"));
        QCOMPARE(CAutostart::EntryFile(),
                 m_dir->filePath(QStringLiteral("config/autostart/orvalis.desktop")));
        const QByteArray entry = ReadFile(CAutostart::EntryFile());
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QVERIFY2(entry.contains("\nExec=\"/opt/my apps/\\\\$orvalis\"\n"), entry.constData());

        options.startWithDesktop = false;
        options.Store(*m_store, QStringLiteral("/opt/orvalis/orvalis"));
        QVERIFY(!CAutostart::IsSet());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_GUILESS_MAIN(TestGeneralOptions)
#include "tst_generaloptions.moc"
