#include "common/filename.h"
#include "common/settingsstore.h"
#include "support/scriptedmessagebox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

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

bool IsLink(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

QStringList TempFiles(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral(".ov.ini.tmp-*")}, QDir::Files | QDir::Hidden);
}
} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("ov.ini"));
        QFile::remove(m_path);
    }

    void leadingInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "42" << 42;
        QTest::newRow("blanks and sign") << "  -7x" << -7;
        QTest::newRow("tab and plus") << "\t+12 minutes" << 12;
        QTest::newRow("no digits") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign then blank") << "- 5" << 0;
        QTest::newRow("hex is not read") << "0x10" << 0;
        QTest::newRow("fraction stops") << "3.9" << 3;
        QTest::newRow("too big") << "99999999999" << INT_MAX;
        QTest::newRow("too small") << "-99999999999" << INT_MIN;
    }
    void leadingInt()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(CSettingsStore::ParseLeadingInt(text), value);
        // The same rule through the file.
        CSettingsStore store(m_path);
        QVERIFY(store.WriteString(QStringLiteral("Settings"), QStringLiteral("K"), text));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("K"), 77), value);
    }

    void readRules()
    {
        const QByteArray longValue(5000, 'v');
        WriteFile(m_path, "; comment line\r\n"
                          "[Settings]\r\n"
                          "  ConfirmExit =  0  \r\n"
                          "Empty=\r\n"
                          "Dup=first\r\n"
                          "Dup=second\r\n"
                          "Long=" +
                              longValue +
                              "\r\n"
                              "no equals sign here\r\n"
                              "[price]\r\n"
                              "CostPerMinute=0.0500000000\r\n");
        CSettingsStore store(m_path);
        QCOMPARE(store.ReadInt(QStringLiteral("settings"), QStringLiteral("CONFIRMEXIT"), 1), 0);
        QCOMPARE(store.ReadString(QStringLiteral("Price"), QStringLiteral("costperminute"), {}),
                 QStringLiteral("0.0500000000"));
        // A present but empty value is no number (0), and no default.
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("Empty"), 5), 0);
        QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("Empty"),
                                  QStringLiteral("d")),
                 QString());
        QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("Dup"), {}),
                 QStringLiteral("first"));
        QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("Long"), {}).size(),
                 CSettingsStore::kMaxTextLength);
        // Missing key, missing section, a key of another section.
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("Missing"), 10), 10);
        QCOMPARE(store.ReadInt(QStringLiteral("Nowhere"), QStringLiteral("ConfirmExit"), 3), 3);
        QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("CostPerMinute"),
                                  QStringLiteral("none")),
                 QStringLiteral("none"));
    }

    void writeKeepsEverythingElse()
    {
        WriteFile(m_path, "; kept comment\n"
                          "[Settings]\n"
                          "A=1\n"
                          "# another comment\n"
                          "B=2\n"
                          "\n"
                          "[Unknown]\n"
                          "Z=keep me\n");
        CSettingsStore store(m_path);
        QVERIFY(store.WriteInt(QStringLiteral("SETTINGS"), QStringLiteral("b"), 3));
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("C"), 4));
        QVERIFY(store.WriteString(QStringLiteral("Inet"), QStringLiteral("Server"),
                                  QStringLiteral("time.example")));
        QCOMPARE(ReadFile(m_path), QByteArray("; kept comment\n"
                                              "[Settings]\n"
                                              "A=1\n"
                                              "# another comment\n"
                                              "B=3\n"
                                              "C=4\n"
                                              "\n"
                                              "[Unknown]\n"
                                              "Z=keep me\n"
                                              "[Inet]\n"
                                              "Server=time.example\n"));
        // The same value again: the file is not replaced.
        struct stat before {};
        struct stat after {};
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &before), 0);
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("B"), 3));
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QVERIFY(store.RemoveKey(QStringLiteral("Settings"), QStringLiteral("A")));
        QVERIFY(store.RemoveKey(QStringLiteral("Settings"), QStringLiteral("NotThere")));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("A"), -1), -1);
        QCOMPARE(store.ReadString(QStringLiteral("Unknown"), QStringLiteral("Z"), {}),
                 QStringLiteral("keep me"));
    }

    void writeCannotInjectLines()
    {
        CSettingsStore store(m_path);
        QVERIFY(store.WriteString(QStringLiteral("Connections"), QStringLiteral("Home=ISP"),
                                  QStringLiteral("secret\n[Settings]\nConfirmExit=0")));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("ConfirmExit"), 1), 1);
        QCOMPARE(store.ReadString(QStringLiteral("Connections"), QStringLiteral("Home=ISP"), {}),
                 QStringLiteral("secret [Settings] ConfirmExit=0"));
        QCOMPARE(ReadFile(m_path).count('\n'), 2);
    }

    void crlfFileStaysCrlf()
    {
        WriteFile(m_path, "[Settings]\r\nA=1\r\n");
        CSettingsStore store(m_path);
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("A"), 2));
        QCOMPARE(ReadFile(m_path), QByteArray("[Settings]\r\nA=2\r\n"));
    }

    void readsSeeOutsideChanges()
    {
        CSettingsStore store(m_path);
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 1));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 9), 1);
        const CSettingsSnapshot before = store.Snapshot();
        // Another program rewrites the file in place, same size, same second.
        WriteFile(m_path, "[Settings]\nHideOnStart=0\n");
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 9), 0);
        // A snapshot answers from its own read.
        QCOMPARE(before.ReadInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 9), 1);
        QCOMPARE(store.Snapshot().Read(Keys::HideOnStart), 0);
        CSettingsStore other(m_path);
        QVERIFY(other.WriteInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 5));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 9), 5);
    }

    void createdPrivate()
    {
        const QString path = m_dir.filePath(QStringLiteral("new/sub/ov.ini"));
        CSettingsStore store(path);
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("X"), 8), 8);
        QVERIFY(!QFile::exists(path));
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("X"), 1));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        // A file that someone made readable to all is private again after a write.
        QVERIFY(
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("X"), 2));
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        QCOMPARE(QDir(m_dir.filePath(QStringLiteral("new/sub"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("ov.ini")});
    }

    void badFilesGiveDefaults()
    {
        // A directory where the file should be.
        QVERIFY(QDir().mkpath(m_path));
        CSettingsStore store(m_path);
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("ShowSplash"), 1), 1);
        QVERIFY(!store.WriteInt(QStringLiteral("Settings"), QStringLiteral("ShowSplash"), 0));
        QVERIFY(QDir(m_path).removeRecursively());

        // Binary garbage with NULs and no line ends.
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk.append(static_cast<char>((i * 37) % 256));
        WriteFile(m_path, junk);
        QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("IniPath"),
                                  QStringLiteral("d")),
                 QStringLiteral("d"));
        QVERIFY(store.WriteInt(QStringLiteral("Settings"), QStringLiteral("ShowSplash"), 0));
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("ShowSplash"), 1), 0);
        QVERIFY(ReadFile(m_path).startsWith(junk.left(10)));
    }

    void threadsLoseNothing()
    {
        constexpr int kThreads = 6;
        constexpr int kKeys = 40;
        QList<QThread*> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.append(QThread::create([this, t] {
                CSettingsStore store(m_path);
                for (int i = 0; i < kKeys; ++i)
                    store.WriteInt(QStringLiteral("Settings"),
                                   QStringLiteral("T%1_%2").arg(t).arg(i), i);
            }));
        }
        for (QThread* thread : threads)
            thread->start();
        for (QThread* thread : threads) {
            QVERIFY(thread->wait(60000));
            delete thread;
        }
        CSettingsStore store(m_path);
        for (int t = 0; t < kThreads; ++t) {
            for (int i = 0; i < kKeys; ++i)
                QCOMPARE(store.ReadInt(QStringLiteral("Settings"),
                                       QStringLiteral("T%1_%2").arg(t).arg(i), -1),
                         i);
        }
    }

    void processesLoseNothing()
    {
        constexpr int kProcesses = 4;
        constexpr int kKeys = 40;
        QList<QProcess*> processes;
        for (int p = 0; p < kProcesses; ++p) {
            auto* process = new QProcess(this);
            process->start(QStringLiteral(SETTINGS_WRITER),
                           {m_path, QStringLiteral("Settings"), QStringLiteral("P%1_").arg(p),
                            QString::number(kKeys)});
            processes.append(process);
        }
        // This process writes at the same time.
        CSettingsStore store(m_path);
        for (int i = 0; i < kKeys; ++i)
            QVERIFY(
                store.WriteInt(QStringLiteral("Settings"), QStringLiteral("Self_%1").arg(i), i));
        for (QProcess* process : processes) {
            QVERIFY(process->waitForFinished(60000));
            QCOMPARE(process->exitCode(), 0);
        }
        for (int i = 0; i < kKeys; ++i) {
            QCOMPARE(
                store.ReadInt(QStringLiteral("Settings"), QStringLiteral("Self_%1").arg(i), -1), i);
            for (int p = 0; p < kProcesses; ++p)
                QCOMPARE(store.ReadInt(QStringLiteral("Settings"),
                                       QStringLiteral("P%1_%2").arg(p).arg(i), -1),
                         i);
        }
    }

    void killedWriterLeavesWholeFile()
    {
        CSettingsStore store(m_path);
        QVERIFY(store.WriteString(QStringLiteral("Settings"), QStringLiteral("Before"),
                                  QStringLiteral("kept")));
        for (int round = 0; round < 5; ++round) {
            QProcess writer;
            writer.start(QStringLiteral(SETTINGS_WRITER),
                         {m_path, QStringLiteral("Settings"), QStringLiteral("Big"),
                          QStringLiteral("forever")});
            QVERIFY(writer.waitForReadyRead(10000));
            // Let it rewrite the file a varying number of times before it dies.
            const QString start =
                store.ReadString(QStringLiteral("Settings"), QStringLiteral("Big"), {});
            int changes = 0;
            QString last = start;
            const QDeadlineTimer deadline(30000);
            while (changes < 3 + round) {
                QVERIFY(!deadline.hasExpired());
                const QString now =
                    store.ReadString(QStringLiteral("Settings"), QStringLiteral("Big"), {});
                if (now != last) {
                    ++changes;
                    last = now;
                }
            }
            writer.kill();
            QVERIFY(writer.waitForFinished(10000));

            const QString value =
                store.ReadString(QStringLiteral("Settings"), QStringLiteral("Big"), {});
            QCOMPARE(value.size(), 3000);
            QCOMPARE(value.count(value.at(0)), 3000);
            QCOMPARE(store.ReadString(QStringLiteral("Settings"), QStringLiteral("Before"), {}),
                     QStringLiteral("kept"));
        }
    }

    void fileNotOursIsLeftAlone()
    {
        const QByteArray content("[Settings]\nShowSplash=1\n");
        WriteFile(m_path, content);
        CSettingsStore store(m_path);
        // Read-only to its owner: the write fails, the file stays as it was.
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0400) == 0);
        QVERIFY(!store.Write(Keys::ShowSplash, 0));
        QCOMPARE(ReadFile(m_path), content);
        QCOMPARE(ModeOf(m_path), mode_t(0400));
        // Another user's file, writable by its owner: not ours to replace either.
        QVERIFY(::chmod(QFile::encodeName(m_path).constData(), 0600) == 0);
        QVERIFY(::chown(QFile::encodeName(m_path).constData(), 54321, 54321) == 0);
        QVERIFY(!store.Write(Keys::ShowSplash, 0));
        QCOMPARE(ReadFile(m_path), content);
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(m_path).constData(), &st), 0);
        QCOMPARE(st.st_uid, uid_t(54321));
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
        QVERIFY(TempFiles(m_dir.path()).isEmpty());
    }

    void linkChainStaysLinks()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("real")));
        const QString real = m_dir.filePath(QStringLiteral("real/b.ini"));
        const QString middle = m_dir.filePath(QStringLiteral("a.ini"));
        QFile::remove(real);
        QFile::remove(middle);
        WriteFile(real, "[Settings]\nKeep=1\n");
        // Relative links, as a user would make them.
        QCOMPARE(::symlink("real/b.ini", QFile::encodeName(middle).constData()), 0);
        QCOMPARE(::symlink("a.ini", QFile::encodeName(m_path).constData()), 0);
        CSettingsStore store(m_path);
        QVERIFY(store.Write(Keys::ShowSplash, 0));
        QVERIFY(store.Write(Keys::ShowSplash, 1));
        QVERIFY(IsLink(m_path));
        QVERIFY(IsLink(middle));
        QCOMPARE(ReadFile(real), QByteArray("[Settings]\nKeep=1\nShowSplash=1\n"));
        QVERIFY(TempFiles(m_dir.filePath(QStringLiteral("real"))).isEmpty());

        // A chain ending at a file not there yet creates the file at its end.
        QVERIFY(QFile::remove(real));
        QVERIFY(store.Write(Keys::ShowSplash, 0));
        QVERIFY(IsLink(m_path) && IsLink(middle));
        QCOMPARE(ReadFile(real), QByteArray("[Settings]\nShowSplash=0\n"));
        // A loop of links is no file at all.
        QVERIFY(QFile::remove(middle));
        QCOMPARE(::symlink("ov.ini", QFile::encodeName(middle).constData()), 0);
        QVERIFY(!store.Write(Keys::ShowSplash, 1));
        QVERIFY(IsLink(m_path) && IsLink(middle));
        QFile::remove(middle);
        QFile::remove(m_path);
    }

    // The store tells the notice handler and shows nothing itself.
    void oversizeFileIsToldOnceAndKept()
    {
        CScriptedMessageBox boxes;
        QStringList notices;
        CSettingsStore::SetNoticeHandler([&notices](const QString& text) { notices.append(text); });
        const auto restore = qScopeGuard([] { CSettingsStore::SetNoticeHandler({}); });
        QByteArray big("[Settings]\nShowSplash=0\n");
        big += QByteArray(16 * 1024 * 1024, ';');
        WriteFile(m_path, big);
        CSettingsStore store(m_path);
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
        QVERIFY(!store.Write(Keys::ShowSplash, 0));
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(m_path));
        QVERIFY(notices.first().contains(QStringLiteral("not used")));
        QCOMPARE(QFileInfo(m_path).size(), big.size());

        // Once the file is fit again it works; grown again, it is told again.
        WriteFile(m_path, "[Settings]\nShowSplash=0\n");
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        QVERIFY(store.Write(Keys::ShowSplash, 1));
        WriteFile(m_path, big);
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
        QCOMPARE(notices.size(), 2);
        QVERIFY(boxes.Shown().isEmpty());
        QFile::remove(m_path);
    }

    // A file that is there but cannot be read is an error, not an empty file: the values
    // last read stay in use and the user is told once. A missing file reads as defaults.
    void unreadableFileKeepsLastValues_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::newRow("folder in its place") << "folder";
        QTest::newRow("pipe in its place") << "pipe";
    }
    void unreadableFileKeepsLastValues()
    {
        QFETCH(QString, blocker);
        QStringList notices;
        CSettingsStore::SetNoticeHandler([&notices](const QString& text) { notices.append(text); });
        const auto restore = qScopeGuard([] { CSettingsStore::SetNoticeHandler({}); });
        const auto block = [&] {
            QFile::remove(m_path);
            if (blocker == QLatin1String("folder"))
                return QDir().mkpath(m_path);
            return ::mkfifo(QFile::encodeName(m_path).constData(), 0600) == 0;
        };
        const auto unblock = [&] {
            QDir(m_path).removeRecursively();
            QFile::remove(m_path);
        };
        const auto cleanup = qScopeGuard(unblock);

        CSettingsStore store(m_path);
        WriteFile(m_path, "[Settings]\nShowSplash=0\n");
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        QVERIFY(block());
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        QVERIFY(!store.Write(Keys::ShowSplash, 1));
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.first().contains(m_path));

        // Readable again: its values, and the next trouble is told again.
        unblock();
        WriteFile(m_path, "[Settings]\nShowSplash=2\n");
        QCOMPARE(store.Read(Keys::ShowSplash), 2);
        QVERIFY(block());
        QCOMPARE(store.Read(Keys::ShowSplash), 2);
        QCOMPARE(notices.size(), 2);

        // Missing: the defaults, also when it turns unreadable after that.
        unblock();
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
        QVERIFY(block());
        QCOMPARE(store.Read(Keys::ShowSplash), 1);
    }

    void staleTempFilesAreRemoved()
    {
        QProcess finished;
        finished.start(QStringLiteral("true"));
        QVERIFY(finished.waitForFinished(10000));
        const qint64 deadPid = finished.processId() ? finished.processId() : 999999999;
        QProcess running;
        running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(running.waitForStarted(10000));
        const QString dead = m_dir.filePath(QStringLiteral(".ov.ini.tmp-%1-3").arg(deadPid));
        const QString gone = m_dir.filePath(QStringLiteral(".ov.ini.tmp-999999999-1"));
        const QString alive =
            m_dir.filePath(QStringLiteral(".ov.ini.tmp-%1-1").arg(running.processId()));
        const QString other = m_dir.filePath(QStringLiteral(".other.ini.tmp-999999999-1"));
        for (const QString& file : {dead, gone, alive, other})
            WriteFile(file, "half");
        QVERIFY(CSettingsStore(m_path).Write(Keys::ShowSplash, 0));
        QVERIFY(!QFile::exists(dead));
        QVERIFY(!QFile::exists(gone));
        QVERIFY(QFile::exists(alive));
        QVERIFY(QFile::exists(other));
        running.kill();
        running.waitForFinished(10000);
        QVERIFY(CSettingsStore(m_path).Write(Keys::ShowSplash, 1));
        QCOMPARE(TempFiles(m_dir.path()), QStringList());
        QFile::remove(other);
    }

    void foldersNotUtf8RoundTrip()
    {
        for (const QByteArray& bytes :
             {QByteArray("caf\xc3\xa9"), QByteArray("caf\xe9"), QByteArray("\xff\xfe"),
              QByteArray("cut\xe2\x82"), QByteArray("long\xc0\xaf"), QByteArray("sur\xed\xa0\x80"),
              QByteArray("\xf0\x9f\x98\x80\x80")})
            QCOMPARE(CFileName::Encode(CFileName::Decode(bytes)), bytes);

        const QByteArray folder = QFile::encodeName(m_dir.path()) + "/caf\xe9/sub\xff";
        CSettingsStore store(CFileName::Decode(folder + "/ov.ini"));
        QVERIFY(store.Write(Keys::ShowSplash, 0));
        QCOMPARE(store.Read(Keys::ShowSplash), 0);
        struct stat st {};
        QCOMPARE(::stat(QByteArray(folder + "/ov.ini").constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0600u);
        // QTemporaryDir could not remove what it cannot name.
        QCOMPARE(::unlink(QByteArray(folder + "/ov.ini").constData()), 0);
        QCOMPARE(::rmdir(folder.constData()), 0);
        QCOMPARE(::rmdir(QByteArray(QFile::encodeName(m_dir.path()) + "/caf\xe9").constData()), 0);
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
