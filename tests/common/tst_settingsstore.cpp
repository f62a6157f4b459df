#include "common/settingsstore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <climits>
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
        // Another program rewrites the file in place, same size, same second.
        WriteFile(m_path, "[Settings]\nHideOnStart=0\n");
        QCOMPARE(store.ReadInt(QStringLiteral("Settings"), QStringLiteral("HideOnStart"), 9), 0);
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

private:
    QTemporaryDir m_dir;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
