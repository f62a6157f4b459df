#include "common/helpfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
void WritePage(const QString& path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html></html>\n");
}
} // namespace

class TestHelpFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_bin = m_dir->filePath(QStringLiteral("prefix/bin"));
        QVERIFY(QDir().mkpath(m_bin));
        m_beside = m_dir->filePath(QStringLiteral("prefix/bin/help/index.html"));
        m_shared = m_dir->filePath(QStringLiteral("prefix/share/orvalis/help/index.html"));
    }

    void searchOrder()
    {
        const QStringList candidates = CHelpFile::Candidates(m_bin);
        const QStringList expected = {m_beside, m_shared,
                                      QStringLiteral("/usr/local/share/orvalis/help/index.html"),
                                      QStringLiteral("/usr/share/orvalis/help/index.html")};
        QCOMPARE(candidates, expected);
        // A trailing separator on the folder changes nothing.
        QCOMPARE(CHelpFile::Candidates(m_bin + QLatin1Char('/')), expected);
        // Without a folder only the installed places are looked at.
        QCOMPARE(CHelpFile::Candidates(QString()), expected.mid(2));
    }

    void besideTheProgramWins()
    {
        WritePage(m_shared);
        QCOMPARE(CHelpFile::Find(m_bin), m_shared);
        WritePage(m_beside);
        QCOMPARE(CHelpFile::Find(m_bin), m_beside);
        QVERIFY(QFile::remove(m_beside));
        QCOMPARE(CHelpFile::Find(m_bin), m_shared);
    }

    void skipsWhatIsNoReadableFile()
    {
        // A folder named like the page, an unreadable page and a missing one are passed over.
        const QString folder = m_dir->filePath(QStringLiteral("a/index.html"));
        QVERIFY(QDir().mkpath(folder));
        const QString locked = m_dir->filePath(QStringLiteral("b/index.html"));
        WritePage(locked);
        QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        const QString missing = m_dir->filePath(QStringLiteral("c/index.html"));
        const QString good = m_dir->filePath(QStringLiteral("d/index.html"));
        WritePage(good);

        const bool root = QFileInfo(locked).isReadable(); // root reads any file
        const QString found = CHelpFile::FirstExisting({folder, locked, missing, good});
        QCOMPARE(found, root ? locked : good);
        QCOMPARE(CHelpFile::FirstExisting({folder, missing}), QString());
        QCOMPARE(CHelpFile::FirstExisting({}), QString());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    QString m_beside;
    QString m_shared;
};

QTEST_GUILESS_MAIN(TestHelpFile)
#include "tst_helpfile.moc"
