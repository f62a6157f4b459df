#include "common/atomicfilewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Everything in the folder, hidden temporary files included.
QStringList Entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden);
}
} // namespace

class TestAtomicFileWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A new file and one that others could read both end up private to their owner.
    void replacedFileIsPrivate()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        for (const QByteArray& text : {QByteArray("first\n"), QByteArray("second\n")}) {
            CAtomicFileWriter writer(path);
            QVERIFY(writer.Begin());
            QCOMPARE(writer.Target(), QFile::encodeName(path));
            QVERIFY(writer.Commit(text));
            QCOMPARE(ReadFile(path), text);
            QCOMPARE(ModeOf(path), mode_t(0600));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::ReadOther));
        }
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("a.ini")});
    }

    // A write cut short (here: the file size limit of the process) keeps the old file
    // and leaves no temporary file behind.
    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        {
            CAtomicFileWriter writer(path);
            QVERIFY(writer.Begin());
            QVERIFY(writer.Commit("old\n"));
        }
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 1024;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool committed = true;
        {
            CAtomicFileWriter writer(path);
            if (writer.Begin())
                committed = writer.Commit(QByteArray(64 * 1024, 'x'));
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!committed);
        QCOMPARE(ReadFile(path), QByteArray("old\n"));
        QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("a.ini")});
    }
};

QTEST_GUILESS_MAIN(TestAtomicFileWriter)
#include "tst_atomicfilewriter.moc"
