#include "common/atomicfilewriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // What sits at the path decides whether it may be replaced; a link is followed, or
    // with Links::Replace replaced itself, and what it names never changes then.
    void whatIsAtThePath_data()
    {
        QTest::addColumn<bool>("replaceLinks");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("followed link") << false << QStringLiteral("link") << true;
        QTest::newRow("replaced link") << true << QStringLiteral("link") << true;
        QTest::newRow("pipe") << true << QStringLiteral("pipe") << false;
        QTest::newRow("folder") << true << QStringLiteral("folder") << false;
        QTest::newRow("another user's file") << true << QStringLiteral("foreign") << false;
    }
    void whatIsAtThePath()
    {
        QFETCH(bool, replaceLinks);
        QFETCH(QString, kind);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.ini"));
        const QString other = dir.filePath(QStringLiteral("other"));
        const QByteArray name = QFile::encodeName(path);
        for (const QString& file : {other, path}) {
            QFile text(file);
            if (file == other || kind == QStringLiteral("foreign"))
                QVERIFY(text.open(QIODevice::WriteOnly) && text.write("other\n") == 6);
        }
        if (kind == QStringLiteral("link"))
            QCOMPARE(::symlink(QFile::encodeName(other).constData(), name.constData()), 0);
        else if (kind == QStringLiteral("pipe"))
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (kind == QStringLiteral("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (::chown(name.constData(), ::geteuid() + 4321, ::getegid()) != 0)
            QSKIP("needs root to give a file away");

        CAtomicFileWriter writer(path, replaceLinks ? CAtomicFileWriter::Links::Replace
                                                    : CAtomicFileWriter::Links::Follow);
        QCOMPARE(writer.Begin() && writer.Commit("new\n"), replaced);
        const bool followed = kind == QStringLiteral("link") && !replaceLinks;
        QCOMPARE(ReadFile(other), QByteArray(followed ? "new\n" : "other\n"));
        QCOMPARE(QFileInfo(path).isSymLink(), followed);
        if (replaced)
            QCOMPARE(ReadFile(path), QByteArray("new\n"));
    }

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
