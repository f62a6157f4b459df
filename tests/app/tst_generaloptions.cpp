#include "app/autostart.h"
#include "app/generaloptions.h"
#include "app/logmover.h"
#include "common/apppaths.h"
#include "common/settingsstore.h"
#include "support/scriptedmessagebox.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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

// Reads an Exec value back as a desktop environment does: first the escapes every string
// value has, then one double-quoted argument with its own escapes and the doubled %.
// A null string when the value breaks either rule.
QString ParseExec(const QString& value)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\') {
            unescaped += value[i];
            continue;
        }
        if (++i == value.size())
            return {};
        switch (value[i].unicode()) {
        case u'\\':
            unescaped += u'\\';
            break;
        case u's':
            unescaped += u' ';
            break;
        case u'n':
            unescaped += u'\n';
            break;
        case u't':
            unescaped += u'\t';
            break;
        case u'r':
            unescaped += u'\r';
            break;
        default:
            return {};
        }
    }
    if (unescaped.size() < 2 || !unescaped.startsWith(u'"') || !unescaped.endsWith(u'"'))
        return {};
    const qsizetype last = unescaped.size() - 1;
    QString path = QStringLiteral("");
    for (qsizetype i = 1; i < last; ++i) {
        const QChar c = unescaped[i];
        if (c == u'\\') {
            if (++i == last || !QStringLiteral("\"`$\\").contains(unescaped[i]))
                return {};
            path += unescaped[i];
        } else if (c == u'%') {
            if (++i == last || unescaped[i] != u'%')
                return {};
            path += u'%';
        } else if (c == u'"' || c == u'`' || c == u'$') {
            return {};
        } else {
            path += c;
        }
    }
    return path;
}

// The Exec value of an entry's text.
QString ExecOf(const QByteArray& entry)
{
    for (const QByteArray& line : entry.split('\n')) {
        if (line.startsWith("Exec="))
            return QString::fromUtf8(line.mid(5));
    }
    return {};
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
        // The icon the package installs, and an entry the desktop's own checker accepts.
        QVERIFY2(entry.contains("\nIcon=org.orvalis.Orvalis\n"), entry.constData());
        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validator.isEmpty()) {
            QProcess check;
            check.start(validator, {CAutostart::EntryFile()});
            QVERIFY(check.waitForFinished(10000));
            QVERIFY2(check.exitCode() == 0 && check.readAll().isEmpty(), entry.constData());
        }

        options.startWithDesktop = false;
        options.Store(*m_store, QStringLiteral("/opt/orvalis/orvalis"));
        QVERIFY(!CAutostart::IsSet());
    }

    void autostartExecLine_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QStringLiteral("/usr/bin/orvalis")
                               << QByteArray("Exec=\"/usr/bin/orvalis\"");
        QTest::newRow("blank") << QStringLiteral("/opt/my apps/orvalis")
                               << QByteArray("Exec=\"/opt/my apps/orvalis\"");
        QTest::newRow("quote") << QStringLiteral("/opt/say \"hi\"/orvalis")
                               << QByteArray("Exec=\"/opt/say \\\\\"hi\\\\\"/orvalis\"");
        QTest::newRow("dollar") << QStringLiteral("$HOME/bin/orvalis")
                                << QByteArray("Exec=\"\\\\$HOME/bin/orvalis\"");
        QTest::newRow("backtick") << QStringLiteral("/opt/`id`/orvalis")
                                  << QByteArray("Exec=\"/opt/\\\\`id\\\\`/orvalis\"");
        QTest::newRow("backslash") << QStringLiteral("/opt/back\\slash/orvalis")
                                   << QByteArray("Exec=\"/opt/back\\\\\\\\slash/orvalis\"");
        QTest::newRow("percent") << QStringLiteral("/opt/100%f/orvalis")
                                 << QByteArray("Exec=\"/opt/100%%f/orvalis\"");
        QTest::newRow("non-ascii")
            << QStringLiteral("/opt/\u00c9t\u00e9 \u03a9/orvalis")
            << QByteArray("Exec=\"/opt/\xc3\x89t\xc3\xa9 \xce\xa9/orvalis\"");
        QTest::newRow("all") << QStringLiteral("/a b/\"$`\\%/x")
                             << QByteArray("Exec=\"/a b/\\\\\"\\\\$\\\\`\\\\\\\\%%/x\"");
    }

    void autostartExecLine()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, line);
        CScriptedMessageBox boxes;
        QVERIFY(CAutostart::Set(true, path));
        const QByteArray entry = ReadFile(CAutostart::EntryFile());
        QVERIFY2(entry.contains(QByteArray("\n" + line + "\n")), entry.constData());
        QCOMPARE(entry.count("\nExec="), 1);
        QCOMPARE(ParseExec(ExecOf(entry)), path);
        QVERIFY(boxes.Shown().isEmpty());
    }

    void autostartRefusesControlCharacters()
    {
        CScriptedMessageBox boxes;
        int shown = 0;
        for (const QString& path :
             {QStringLiteral("/opt/a\nb/orvalis"), QStringLiteral("/opt/a\rb/orvalis"),
              QStringLiteral("/opt/a\tb/orvalis"), QStringLiteral("/opt/a\u0001b/orvalis"),
              QStringLiteral("/opt/a\u007fb/orvalis"), QStringLiteral("/opt/a\u0085b/orvalis")}) {
            QVERIFY(!CAutostart::CanStart(path));
            QVERIFY(CAutostart::EntryText(path).isEmpty());
            QVERIFY(!CAutostart::Set(true, path));
            QVERIFY(!CAutostart::IsSet());
            QCOMPARE(boxes.Shown().size(), ++shown);
            QCOMPARE(boxes.Shown().last().caption, QStringLiteral("Error"));
            QVERIFY(boxes.Shown().last().text.contains(QStringLiteral("control character")));
        }
        // Through the General page: the other values are stored all the same.
        CGeneralOptions options = CGeneralOptions::Load(*m_store);
        options.startWithDesktop = true;
        options.confirmExit = false;
        QVERIFY(options.Store(*m_store, QStringLiteral("/opt/a\nb/orvalis")));
        QVERIFY(!CAutostart::IsSet());
        QCOMPARE(boxes.Shown().size(), ++shown);
        QCOMPARE(m_store->Read(Keys::ConfirmExit), 0);
    }

    void refusesFolderNoFolderCanHave()
    {
        CScriptedMessageBox boxes;
        const QString log = CAppPaths::LogFile(*m_store);
        WriteFile(log, "01-01-2000|10:00:00|01-01-2000|10:01:00|a|m|isp|1|2|\n");
        const QString logs = m_dir->filePath(QStringLiteral("logs"));
        int shown = 0;
        for (const QString& bad :
             QStringList{logs + QStringLiteral("\nx"), logs + QStringLiteral("\rx"),
                         logs + QChar(u'\0') + QStringLiteral("x")}) {
            CGeneralOptions options = CGeneralOptions::Load(*m_store);
            options.logFolder = bad;
            options.confirmHangup = shown % 2 == 1;
            QVERIFY(!options.Store(*m_store, {}));
            QCOMPARE(boxes.Shown().size(), ++shown);
            QCOMPARE(boxes.Shown().last().caption, QStringLiteral("Error"));
            QVERIFY(boxes.Shown().last().text.contains(QStringLiteral("line break")));
            // Nothing moved, nothing stored for the folder, the rest stored.
            QCOMPARE(m_store->Read(Keys::IniPath), QString());
            QVERIFY(ReadFile(log).startsWith("01-01-2000"));
            QVERIFY(!QFileInfo::exists(logs));
            QCOMPARE(CAppPaths::LogFile(*m_store), log);
            QCOMPARE(m_store->Read(Keys::ConfirmHangup), shown % 2 == 0 ? 1 : 0);
        }

        // A NUL byte left in the file by hand: the page offers the default folder, where
        // the log is, and storing it mends the file without moving anything.
        const QString path = m_store->Path();
        QByteArray text = ReadFile(path);
        text.replace("[Settings]\n", QByteArray("[Settings]\nIniPath=" + QFile::encodeName(logs) +
                                                QByteArray("\0x", 2) + "\n"));
        WriteFile(path, text);
        QVERIFY(m_store->Read(Keys::IniPath).contains(QChar(u'\0')));
        const CGeneralOptions options = CGeneralOptions::Load(*m_store);
        QCOMPARE(options.logFolder, CAppPaths::DefaultLogFolder(*m_store));
        boxes.Clear();
        QVERIFY(options.Store(*m_store, {}));
        QCOMPARE(m_store->Read(Keys::IniPath), CAppPaths::DefaultLogFolder(*m_store));
        QVERIFY(ReadFile(log).startsWith("01-01-2000"));
        QVERIFY(!QFileInfo::exists(logs));
        // Only the log folder's own notice that it fell back, once.
        QCOMPARE(boxes.Shown().size(), 1);
        QVERIFY(!ReadFile(path).contains('\0'));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
};

QTEST_GUILESS_MAIN(TestGeneralOptions)
#include "tst_generaloptions.moc"
