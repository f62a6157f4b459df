#include "billing/reportlines.h"
#include "billing/reportpaging.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The record numbers (1 is the oldest) of the rows shown, top to bottom.
QList<int> Records(const CReportPaging& paging)
{
    QList<int> records;
    for (int row = 0; row < paging.RowCount(); ++row)
        records.append(paging.LineAt(row) + 1);
    return records;
}

QList<int> Range(int newest, int oldest)
{
    QList<int> records;
    for (int record = newest; record >= oldest; --record)
        records.append(record);
    return records;
}

} // namespace

class TestReportPaging : public QObject {
    Q_OBJECT

private slots:
    // 50 records, 20 rows visible: Down shows 30 to 49, Up 31 to 50, Up again nothing.
    void pagesOneRecordAtATime()
    {
        CReportPaging paging(50);
        QCOMPARE(paging.RowCount(), 50);
        QCOMPARE(Records(paging), Range(50, 1));
        QVERIFY(!paging.Paged());

        QVERIFY(paging.Down(20));
        QCOMPARE(paging.Position(), 1);
        QVERIFY(paging.Paged());
        QCOMPARE(Records(paging), Range(49, 30));

        QVERIFY(paging.Up(20));
        QCOMPARE(paging.Position(), 0);
        QCOMPARE(Records(paging), Range(50, 31));

        QVERIFY(!paging.Up(20));
        QCOMPARE(paging.Position(), 0);
        QCOMPARE(Records(paging), Range(50, 31));

        // The oldest page is the last one: position N - R.
        QVERIFY(paging.Request(30, 20));
        QCOMPARE(Records(paging), Range(20, 1));
        QVERIFY(!paging.Down(20));
        QCOMPARE(paging.Position(), 30);
        QVERIFY(!paging.Request(-1, 20));
        QVERIFY(!paging.Request(31, 20));
        QCOMPARE(Records(paging), Range(20, 1));
    }

    // A log that fits in the list never pages; neither does an empty one.
    void shortLogsDoNotPage()
    {
        CReportPaging fits(20);
        QVERIFY(!fits.Down(20));
        QVERIFY(!fits.Down(25));
        QVERIFY(!fits.Up(20));
        QVERIFY(!fits.Paged());
        QCOMPARE(Records(fits), Range(20, 1));
        QVERIFY(fits.Request(0, 20)); // the same rows, now as a page
        QVERIFY(fits.Paged());

        CReportPaging empty(0);
        QCOMPARE(empty.RowCount(), 0);
        QVERIFY(!empty.Down(1));
        QVERIFY(!empty.Request(0, 0));
    }

    // Lines as read: file order, line breaks of both kinds dropped, blank and separator
    // lines skipped, a missing log empty, a cancelled read short.
    void readsTheRawLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("logfile.log"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("01-01-2000|10:00:00|01-01-2000|10:01:00|a|d|i|1|2|\r\n"
                   "\n"
                   "||||\n"
                   "02-01-2000|10:00:00|02-01-2000|10:01:00||d|i|1|2|\n"
                   "03-01-2000|11:00:00");
        file.close();

        const CReportLines lines = CReportLines::Read(path);
        QCOMPARE(lines.Size(), 3);
        QCOMPARE(lines.Line(0),
                 QByteArrayView("01-01-2000|10:00:00|01-01-2000|10:01:00|a|d|i|1|2|"));
        QCOMPARE(lines.Line(1),
                 QByteArrayView("02-01-2000|10:00:00|02-01-2000|10:01:00||d|i|1|2|"));
        QCOMPARE(lines.Line(2), QByteArrayView("03-01-2000|11:00:00"));
        QVERIFY(lines.Line(3).isEmpty());
        QVERIFY(lines.Line(-1).isEmpty());

        QCOMPARE(CReportLines::Read(dir.filePath(QStringLiteral("missing.log"))).Size(), 0);

        QByteArray many;
        for (int i = 0; i < 5000; ++i)
            many += "01-01-2000|10:00:00|01-01-2000|10:01:00|a|d|i|1|2|\n";
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(many);
        file.close();
        std::atomic<bool> cancel{false};
        std::atomic<qint64> bytesRead{0};
        QCOMPARE(CReportLines::Read(path, &cancel, &bytesRead).Size(), 5000);
        QCOMPARE(bytesRead.load(), qint64(many.size()));
        cancel = true;
        QVERIFY(CReportLines::Read(path, &cancel, &bytesRead).Size() < 5000);
    }
};

QTEST_GUILESS_MAIN(TestReportPaging)
#include "tst_reportpaging.moc"
