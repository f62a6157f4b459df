#include "common/apppaths.h"
#include "common/settingsstore.h"

#include "support/scriptedmessagebox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray Bytes(const QString& path)
{
    return QFile::encodeName(path);
}

struct stat LinkStat(const QString& path)
{
    struct stat st {};
    ::lstat(Bytes(path).constData(), &st);
    return st;
}

// Sends standard error to a file for its lifetime.
class CCapturedStderr {
public:
    explicit CCapturedStderr(const QString& file)
        : m_file(file)
    {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        const int fd = ::open(Bytes(file).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~CCapturedStderr() { Restore(); }
    QByteArray Text()
    {
        Restore();
        QFile file(m_file);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    void Restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    QString m_file;
    int m_saved = -1;
};

void WriteFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}
} // namespace

class TestAppPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_tmp = m_dir->filePath(QStringLiteral("tmp"));
        m_cache = m_dir->filePath(QStringLiteral("cache"));
        QVERIFY(QDir().mkpath(m_tmp));
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CACHE_HOME", Bytes(m_cache));
    }

    void runtimeDirTrustsOnlyAPrivateFolderOfOurs()
    {
        const QString shared = m_tmp + QStringLiteral("/orvalis-") + QString::number(::geteuid());
        const QString own = m_cache + QStringLiteral("/orvalis/run");
        CCapturedStderr err(m_dir->filePath(QStringLiteral("stderr.txt")));

        // Made fresh: private even with a umask that lets everyone in.
        const mode_t oldMask = ::umask(0);
        const QString fresh = CAppPaths::RuntimeDir(m_tmp);
        ::umask(oldMask);
        QCOMPARE(fresh, shared);
        QVERIFY(S_ISDIR(LinkStat(shared).st_mode));
        QCOMPARE(LinkStat(shared).st_mode & 07777, 0700u);
        QCOMPARE(LinkStat(shared).st_uid, ::geteuid());
        // Found again as it is.
        QCOMPARE(CAppPaths::RuntimeDir(m_tmp), shared);
        QVERIFY(!QFile::exists(own));

        // Open to everyone: not ours to tighten, not used.
        QVERIFY(::chmod(Bytes(shared).constData(), 0777) == 0);
        QCOMPARE(CAppPaths::RuntimeDir(m_tmp), own);
        QCOMPARE(LinkStat(own).st_mode & 07777, 0700u);
        QCOMPARE(LinkStat(shared).st_mode & 07777, 0777u);

        // A link to a private folder that is ours: still a link, not used.
        QVERIFY(QDir().rmdir(shared));
        const QString target = m_dir->filePath(QStringLiteral("target"));
        QVERIFY(::mkdir(Bytes(target).constData(), 0700) == 0);
        QVERIFY(QFile::link(target, shared));
        QCOMPARE(CAppPaths::RuntimeDir(m_tmp), own);
        QVERIFY(S_ISLNK(LinkStat(shared).st_mode));

        // Private but owned by someone else.
        QVERIFY(QFile::remove(shared));
        QVERIFY(::mkdir(Bytes(shared).constData(), 0700) == 0);
        if (::chown(Bytes(shared).constData(), ::geteuid() + 4321, ::getegid()) == 0)
            QCOMPARE(CAppPaths::RuntimeDir(m_tmp), own);
        else
            qWarning("cannot give a folder away here; the other-owner case is not checked");

        // A runtime folder from the session wins over all of that.
        qputenv("XDG_RUNTIME_DIR", Bytes(target));
        QCOMPARE(CAppPaths::RuntimeDir(m_tmp), target);

        // Told once, naming both folders.
        const QByteArray told = err.Text();
        QCOMPARE(told.count('\n'), 1);
        QVERIFY2(told.contains(Bytes(shared)) && told.contains(Bytes(own)), told.constData());
    }

    void logFolderWithNulOrLineBreakFallsBackOnce()
    {
        const QString ini = m_dir->filePath(QStringLiteral("conf/ov.ini"));
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("conf"))));
        const QString defaultLog = m_dir->filePath(QStringLiteral("conf/logfile.log"));
        CScriptedMessageBox boxes;

        // A literal NUL byte, as a hand edit can leave it.
        const QByteArray nul("[Settings]\nIniPath=/var/log/a\0b\nConfirmExit=0\n", 46);
        WriteFile(ini, nul);
        CSettingsStore store(ini);
        QVERIFY(store.Read(Keys::IniPath).contains(QChar(u'\0')));
        QVERIFY(!CAppPaths::IsValidFolderText(store.Read(Keys::IniPath)));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(CAppPaths::LogFile(store), defaultLog);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown().first().caption, QStringLiteral("Error"));
        QVERIFY(boxes.Shown().first().text.contains(ini));
        QCOMPARE(CAppPaths::LogFolder(store), QFileInfo(defaultLog).absolutePath());
        QCOMPARE(boxes.Shown().size(), 1);
        // The rest of the file still reads.
        QCOMPARE(store.Read(Keys::ConfirmExit), 0);

        // A carriage return inside the line: another bad value, told once more.
        WriteFile(ini, "[Settings]\nIniPath=/var/log/a\rb\n");
        QVERIFY(store.Read(Keys::IniPath).contains(QChar(u'\r')));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(CAppPaths::LogFile(store), defaultLog);
        QCOMPARE(boxes.Shown().size(), 2);

        // A valid folder again is used as it is, without a box.
        WriteFile(ini, "[Settings]\nIniPath=/var/log/ab\n");
        QCOMPARE(CAppPaths::LogFile(store), QStringLiteral("/var/log/ab/logfile.log"));
        QCOMPARE(boxes.Shown().size(), 2);

        QVERIFY(CAppPaths::IsValidFolderText(QStringLiteral("/a b/\u00e9\t")));
        QVERIFY(!CAppPaths::IsValidFolderText(QStringLiteral("/a\nb")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_tmp;
    QString m_cache;
};

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
