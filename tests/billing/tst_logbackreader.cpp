#include "billing/logbackreader.h"
#include "billing/logreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The log read from its end: the records of the forward reader, newest first, whatever
// the size of the blocks.
class TestLogBackReader : public QObject {
    Q_OBJECT

private slots:
    void newestFirst_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<QList<QByteArray>>("lines"); // newest first

        const QByteArray a = "01-01-2000|10:00:00|01-01-2000|10:01:00|a|d|i|1|2|";
        const QByteArray b = "02-01-2000|10:00:00|02-01-2000|10:01:00||d|i|1|2|";
        const QByteArray longLine = "x|" + QByteArray(CLogReader::kMaxLineLength, 'y');
        QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
        QTest::newRow("line breaks") << a + "\n" + b + "\n" << QList<QByteArray>{b, a};
        QTest::newRow("CR LF") << a + "\r\n" + b + "\r\n" << QList<QByteArray>{b, a};
        QTest::newRow("last line without its break") << a + "\n" + b << QList<QByteArray>{b, a};
        QTest::newRow("last line with a CR only") << a + "\n" + b + "\r" << QList<QByteArray>{b, a};
        QTest::newRow("blank and separator lines skipped") << "\n" + a + "\n\n||||\r\n" + b + "\n\n"
                                                           << QList<QByteArray>{b, a};
        QTest::newRow("short and broken lines kept in place")
            << a + "\n03-01-2000|11:00:00\n|x\n" + b + "\n"
            << QList<QByteArray>{b, "|x", "03-01-2000|11:00:00", a};
        QTest::newRow("over-long line skipped whole") << a + "\n" + longLine + "\n" + b + "\n"
                                                      << QList<QByteArray>{b, a};
        QTest::newRow("longest line kept, its CR dropped")
            << a + "\n" + longLine.first(CLogReader::kMaxLineLength) + "\r\n"
            << QList<QByteArray>{longLine.first(CLogReader::kMaxLineLength), a};
        QTest::newRow("over-long line first and last")
            << longLine + "\n" + a + "\n" + longLine << QList<QByteArray>{a};
    }

    void newestFirst()
    {
        QFETCH(QByteArray, log);
        QFETCH(QList<QByteArray>, lines);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("logfile.log"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(log);
        file.close();

        // The forward reader agrees, in the other order.
        QList<QByteArray> forward;
        QVERIFY(CLogReader::ReadAll(
            path, [&](const CLogRecord& r) { forward.prepend(r.line.toByteArray()); }));
        QCOMPARE(forward, lines);
        // Blocks of one byte, a few bytes (lines across their borders) and the default.
        for (const qsizetype blockSize :
             {qsizetype(1), qsizetype(7), qsizetype(64), CLogBackReader::kDefaultBlockSize}) {
            CLogBackReader reader(blockSize);
            QVERIFY(reader.Open(path));
            QList<QByteArray> read;
            CLogRecord record;
            while (reader.Next(record))
                read.append(record.line.toByteArray());
            QCOMPARE(read, lines);
            QVERIFY(!reader.Next(record));
        }
    }

    void missingLog()
    {
        CLogBackReader reader;
        QVERIFY(!reader.Open(QStringLiteral("/nonexistent/logfile.log")));
        QCOMPARE(reader.Error(), CLogReader::Problem::Missing);
        CLogRecord record;
        QVERIFY(!reader.Next(record));
    }
};

QTEST_GUILESS_MAIN(TestLogBackReader)
#include "tst_logbackreader.moc"
