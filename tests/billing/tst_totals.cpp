#include "billing/bytecount.h"
#include "billing/logfile.h"
#include "billing/logreader.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "billing/totalscache.h"
#include "common/settingsstore.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <memory>

#include <sys/stat.h>

namespace {

// A record line of the log for a call on date from start to end (hh:mm:ss).
QByteArray Line(const char* date, const char* start, const char* end, const char* up = "0",
                const char* down = "0")
{
    return QByteArray(date) + '|' + start + '|' + date + '|' + end + "|anna|Modem|Office|" + up +
           '|' + down + "|\n";
}
} // namespace

class TestTotals : public QObject {
    Q_OBJECT

private:
    QString LogPath() const { return m_dir->filePath(QStringLiteral("logfile.log")); }

    void WriteLog(const QList<QByteArray>& lines)
    {
        QFile file(LogPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (const QByteArray& line : lines)
            file.write(line);
    }

    void AppendLog(const QByteArray& line)
    {
        QFile file(LogPath());
        QVERIFY(file.open(QIODevice::Append));
        file.write(line);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2000, 3, 15), QTime(18, 0)));
    }

    void cleanup()
    {
        m_clock.reset();
        m_store.reset();
        m_dir.reset();
    }

    void filterComparesText_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("date");
        QTest::addColumn<bool>("passes");
        QTest::newRow("month, other year") << 1 << QByteArray("02-03-1999") << true;
        QTest::newRow("month, other month") << 1 << QByteArray("28-02-2000") << false;
        QTest::newRow("month, same month") << 1 << QByteArray("01-03-2000") << true;
        QTest::newRow("today, other year") << 2 << QByteArray("15-03-1998") << true;
        QTest::newRow("today, other day") << 2 << QByteArray("14-03-2000") << false;
        QTest::newRow("today, other month") << 2 << QByteArray("15-04-2000") << false;
        QTest::newRow("today, short date") << 2 << QByteArray("15") << false;
        QTest::newRow("month, one-digit day") << 1 << QByteArray("1-3-2000") << false;
        QTest::newRow("month, garbage matching chars") << 1 << QByteArray("xxx03yyy") << true;
        QTest::newRow("month, empty") << 1 << QByteArray() << false;
        QTest::newRow("all, garbage") << 0 << QByteArray("nonsense") << true;
        QTest::newRow("unknown filter counts all") << 7 << QByteArray("01-01-1990") << true;
        QTest::newRow("negative filter counts all") << -1 << QByteArray() << true;
    }
    void filterComparesText()
    {
        QFETCH(int, filter);
        QFETCH(QByteArray, date);
        QFETCH(bool, passes);
        QCOMPARE(CTotals::PassesFilter(filter, date, "15-03-2000"), passes);
    }

    void todayTextComesFromTheClock()
    {
        QCOMPARE(CTotals::TodayText(), QByteArray("15-03-2000"));
        m_clock->Set(QDateTime(QDate(2001, 1, 2), QTime(0, 0)));
        QCOMPARE(CTotals::TodayText(), QByteArray("02-01-2001"));
    }

    void periodFiltersOverTheLog()
    {
        WriteLog({Line("02-03-1999", "10:00:00", "10:01:00"),
                  Line("28-02-2000", "10:00:00", "10:01:00"),
                  Line("01-03-2000", "10:00:00", "10:01:00"),
                  Line("15-03-1998", "10:00:00", "10:01:00")});
        m_store->Write(Keys::SummaryWhen, 1);
        QCOMPARE(CTotals::Compute(*m_store).count, 3);
        m_store->Write(Keys::SummaryWhen, 2);
        QCOMPARE(CTotals::Compute(*m_store).count, 1);
        m_store->Write(Keys::SummaryWhen, 0);
        QCOMPARE(CTotals::Compute(*m_store).count, 4);
        // The filter and file given by the caller win over the stored ones.
        QCOMPARE(CTotals::Compute(*m_store, CTotals::Today, LogPath()).count, 1);
        QCOMPARE(CTotals::Compute(*m_store, CTotals::All, LogPath() + "-none").count, 0);
    }

    void timeCountsMinimumButNotBlocks()
    {
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.6"));
        m_store->Write(Keys::MinConTime, QStringLiteral("00:00"));
        m_store->Write(Keys::ConnectionBlock, QStringLiteral("00:01"));
        WriteLog({Line("15-03-2000", "10:00:00", "10:00:30"),
                  Line("15-03-2000", "11:00:00", "11:01:00"),
                  Line("15-03-2000", "12:00:00", "12:01:30")});
        const CTotals totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 3);
        QCOMPARE(totals.totalTime, qint64(180));
        // Priced on 60 + 60 + 120 seconds.
        QCOMPARE(CTariff::PriceText(totals.totalCost), QStringLiteral("2.40"));
        QCOMPARE(CTariff::PriceText(totals.averageCost), QStringLiteral("0.80"));

        m_store->Write(Keys::MinConTime, QStringLiteral("00:01"));
        WriteLog({Line("15-03-2000", "10:00:00", "10:00:10")});
        QCOMPARE(CTotals::Compute(*m_store).totalTime, qint64(60));
    }

    void freeAllowanceOncePerMonthPass()
    {
        m_store->Write(Keys::PricePerDial, QStringLiteral("0.10"));
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.50"));
        m_store->Write(Keys::FreeMonthTime, QStringLiteral("01:00"));
        // 228 s: 0.10 + 0.50 / 60 * 228 = 2.00.
        WriteLog({Line("15-03-2000", "12:00:00", "12:03:48")});

        m_store->Write(Keys::SummaryWhen, 1);
        CTotals totals = CTotals::Compute(*m_store);
        QCOMPARE(CTariff::PriceText(totals.totalCost), QStringLiteral("-28.10"));
        QCOMPARE(CTariff::PriceText(totals.averageCost), QStringLiteral("-28.10"));

        m_store->Write(Keys::SummaryWhen, 0);
        QCOMPARE(CTariff::PriceText(CTotals::Compute(*m_store).totalCost), QStringLiteral("2.00"));
        m_store->Write(Keys::SummaryWhen, 2);
        QCOMPARE(CTariff::PriceText(CTotals::Compute(*m_store).totalCost), QStringLiteral("2.00"));

        // Two calls: still one allowance; the average is taken after it.
        AppendLog(Line("01-03-2000", "12:00:00", "12:03:48"));
        m_store->Write(Keys::SummaryWhen, 1);
        totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 2);
        QCOMPARE(CTariff::PriceText(totals.totalCost), QStringLiteral("-26.10"));
        QCOMPARE(CTariff::PriceText(totals.averageCost), QStringLiteral("-13.05"));
    }

    void noAllowanceWithoutRecords()
    {
        m_store->Write(Keys::PricePerDial, QStringLiteral("0.10"));
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.50"));
        m_store->Write(Keys::FreeMonthTime, QStringLiteral("01:00"));
        m_store->Write(Keys::SummaryWhen, 1);

        // No log at all.
        CTotals totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 0);
        QCOMPARE(totals.totalCost, 0.0);
        QCOMPARE(totals.averageCost, 0.0);

        // An empty log, then calls only in other months.
        WriteLog({});
        QCOMPARE(CTotals::Compute(*m_store).totalCost, 0.0);
        WriteLog({Line("15-02-2000", "12:00:00", "12:10:00"),
                  Line("15-04-1999", "12:00:00", "12:10:00")});
        totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 0);
        QCOMPARE(totals.totalCost, 0.0);
        QCOMPARE(totals.totalTime, qint64(0));
    }

    void byteTotals()
    {
        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00", "123456", "2345678"),
                  Line("15-03-2000", "11:00:00", "11:01:00", "-100", "junk"),
                  Line("15-03-2000", "12:00:00", "12:01:00", "1.5e3", "0x10"),
                  "15-03-2000|12:00:00|\n"});
        const CTotals totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 4);
        // Counts are whole numbers; "-100" is a 32-bit count written by an older version.
        QCOMPARE(totals.uploaded, qint64(123456) + (qint64(1) << 32) - 100 + 1);
        QCOMPARE(totals.downloaded, qint64(2345678));
        QCOMPARE(totals.transmitted, totals.uploaded + totals.downloaded);
    }

    void garbledRecordsDoNotStopThePass()
    {
        m_store->Write(Keys::CostPerMinute, QStringLiteral("1"));
        m_store->Write(Keys::CheapInSat, 1);
        // 31-06-2000 is no date; taken as 1 July 2000 it would be a Saturday.
        WriteLog({Line("31-06-2000", "10:00:00", "10:01:00"), QByteArray("\0\x01\xff|||\n", 7),
                  QByteArray(300, 'x') + '\n', "|||||\n", "\n",
                  Line("15-03-2000", "10:00:00", "10:02:00")});
        const CTotals totals = CTotals::Compute(*m_store);
        QVERIFY(totals.count >= 2);
        // 1 + 2 minutes at the normal rate; the lines without times cost nothing.
        QCOMPARE(totals.totalCost, 3.0);
        QCOMPARE(CTotals::Compute(*m_store).count, totals.count);
    }

    // A log big enough to be summed in two halves at once gives the sums of one pass in
    // file order, to the last bit of the cost, also with an over-long line in its middle.
    void bigLogSumsAsInOnePass()
    {
        m_store->Write(Keys::PricePerDial, QStringLiteral("0.013"));
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.37"));
        QByteArray data;
        for (int i = 0; i < 70000; ++i) {
            const QByteArray end =
                "10:" + QByteArray::number(10 + i % 50) + ":0" + QByteArray::number(i % 10);
            data += Line("15-03-2000", "10:00:00", end.constData(),
                         QByteArray::number(i * 7).constData(), "12345678");
            if (i == 35000)
                data += QByteArray(CLogReader::kMaxLineLength + 10, 'x') + '\n';
        }
        WriteLog({data});
        QVERIFY(data.size() > 4 << 20);

        const CTariff tariff = CTariff::Load(*m_store);
        CTotals expected;
        QVERIFY(CLogReader::ReadAll(LogPath(), [&](const CLogRecord& record) {
            const CTariff::CallPrice call = tariff.PriceCall(
                record.startDay, record.startMonth, record.startYear, record.startSecs,
                CTariff::RawDuration(record.startSecs, record.endSecs));
            ++expected.count;
            expected.totalCost += call.price;
            expected.totalTime += call.minimumDuration;
            expected.uploaded += CByteCount::Parse(record.uploaded);
            expected.downloaded += CByteCount::Parse(record.downloaded);
        }));
        const CTotals totals = CTotals::Pass(LogPath(), CTotals::All, "15-03-2000", tariff);
        QCOMPARE(totals.count, 70000);
        QCOMPARE(totals.count, expected.count);
        QVERIFY(totals.totalCost == expected.totalCost);
        QCOMPARE(totals.totalTime, expected.totalTime);
        QCOMPARE(totals.uploaded, expected.uploaded);
        QCOMPARE(totals.downloaded, expected.downloaded);
    }

    void timeSumsDoNotOverflow()
    {
        // 30000 calls of 23:59:59 are more seconds than an int holds.
        const QByteArray line = Line("15-03-2000", "00:00:01", "00:00:00");
        QByteArray data;
        for (int i = 0; i < 30000; ++i)
            data += line;
        WriteLog({data});
        const CTotals totals = CTotals::Compute(*m_store);
        QCOMPARE(totals.count, 30000);
        QCOMPARE(totals.totalTime, qint64(30000) * 86399);
        QVERIFY(totals.totalTime > INT_MAX);
    }

    void cacheKeepsThePassWhileNothingChanges()
    {
        m_store->Write(Keys::CostPerMinute, QStringLiteral("1"));
        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00"),
                  Line("14-03-2000", "10:00:00", "10:02:00")});
        CTotalsCache cache;
        const CTotals first = cache.Compute(*m_store);
        QCOMPARE(first.count, 2);
        QCOMPARE(cache.Passes(), qint64(1));
        QCOMPARE(cache.RecordsRead(), qint64(2));

        m_clock->AdvanceSecs(60);
        const CTotals second = cache.Compute(*m_store);
        QCOMPARE(cache.Passes(), qint64(1));
        QCOMPARE(cache.RecordsRead(), qint64(2));
        QCOMPARE(second.count, first.count);
        QCOMPARE(second.totalCost, first.totalCost);
    }

    void cacheReadsAgainWhenSomethingChanged()
    {
        m_store->Write(Keys::CostPerMinute, QStringLiteral("1"));
        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00")});
        CTotalsCache cache;
        QCOMPARE(cache.Compute(*m_store).totalCost, 1.0);

        // The log grew.
        AppendLog(Line("14-03-2000", "10:00:00", "10:02:00"));
        CTotals totals = cache.Compute(*m_store);
        QCOMPARE(cache.Passes(), qint64(2));
        QCOMPARE(totals.count, 2);
        QCOMPARE(totals.totalCost, 3.0);

        // A tariff key changed.
        m_store->Write(Keys::PricePerDial, QStringLiteral("0.5"));
        QCOMPARE(cache.Compute(*m_store).totalCost, 4.0);
        QCOMPARE(cache.Passes(), qint64(3));
        m_store->Write(Keys::CheapInSun, 1);
        cache.Compute(*m_store);
        QCOMPARE(cache.Passes(), qint64(4));

        // The filter changed.
        m_store->Write(Keys::SummaryWhen, 2);
        QCOMPARE(cache.Compute(*m_store).count, 1);
        QCOMPARE(cache.Passes(), qint64(5));

        // The date changed: the 14th is today now.
        m_clock->Set(QDateTime(QDate(2001, 3, 14), QTime(0, 0, 1)));
        QCOMPARE(cache.Compute(*m_store).count, 1);
        QCOMPARE(cache.Compute(*m_store).totalCost, 2.5);
        QCOMPARE(cache.Passes(), qint64(6));

        cache.Clear();
        cache.Compute(*m_store);
        QCOMPARE(cache.Passes(), qint64(7));
        QCOMPARE(cache.RecordsRead(), qint64(1 + 2 + 2 + 2 + 2 + 2 + 2));
    }

    void cacheSeesAReplacedLogOfTheSameSizeAndTime()
    {
        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00", "111")});
        CTotalsCache cache;
        QCOMPARE(cache.Compute(*m_store).uploaded, qint64(111));
        const QDateTime modified = QFileInfo(LogPath()).lastModified();

        // Saved the way editors do: a new file renamed over the old one, same size, and
        // its modification time set back to the old one.
        const QString other = m_dir->filePath(QStringLiteral("new.log"));
        {
            QFile file(other);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(Line("15-03-2000", "10:00:00", "10:01:00", "222"));
            file.close();
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::remove(LogPath()));
        QVERIFY(QFile::rename(other, LogPath()));
        QCOMPARE(cache.Compute(*m_store).uploaded, qint64(222));
        QCOMPARE(cache.Passes(), qint64(2));
    }

    void cacheFollowsTheLogFolderAndAMissingLog()
    {
        CTotalsCache cache;
        QCOMPARE(cache.Compute(*m_store).count, 0);
        QCOMPARE(cache.Compute(*m_store).count, 0);
        QCOMPARE(cache.Passes(), qint64(1));

        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00")});
        QCOMPARE(cache.Compute(*m_store).count, 1);
        QCOMPARE(cache.Passes(), qint64(2));

        // Another log folder with another log.
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("elsewhere")));
        m_store->Write(Keys::IniPath, m_dir->filePath("elsewhere"));
        QCOMPARE(cache.Compute(*m_store).count, 0);
        QCOMPARE(cache.Passes(), qint64(3));

        // The log vanished.
        m_store->Remove(Keys::IniPath);
        QCOMPARE(cache.Compute(*m_store).count, 1);
        QVERIFY(QFile::remove(LogPath()));
        QCOMPARE(cache.Compute(*m_store).count, 0);
        QCOMPARE(cache.Passes(), qint64(5));
    }

    void specialFileAsLogIsReportedOnce()
    {
        CScriptedMessageBox boxes;
        CTotalsCache cache;
        QCOMPARE(::mkfifo(QFile::encodeName(LogPath()).constData(), 0600), 0);
        CTotals totals = cache.Compute(*m_store);
        QVERIFY(totals.logNotRegular);
        QCOMPARE(totals.count, 0);
        QCOMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text, CLogFile::NotRegularText(LogPath()));
        // Another pass (a new filter) over the same pipe says nothing new.
        m_store->Write(Keys::SummaryWhen, CTotals::Today);
        QVERIFY(cache.Compute(*m_store).logNotRegular);
        QCOMPARE(cache.Passes(), qint64(2));
        QCOMPARE(boxes.Shown().size(), 1);

        // A link to an endless device is not read either; the program's own pass says so.
        QVERIFY(QFile::remove(LogPath()));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), LogPath()));
        QVERIFY(CTotals::Compute(*m_store).logNotRegular);
        QVERIFY(cache.Compute(*m_store).logNotRegular);
        QCOMPARE(boxes.Shown().size(), 1);

        // A real log ends the episode; a folder in its place starts a new one.
        QVERIFY(QFile::remove(LogPath()));
        WriteLog({Line("15-03-2000", "10:00:00", "10:01:00")});
        totals = cache.Compute(*m_store);
        QVERIFY(!totals.logNotRegular);
        QCOMPARE(totals.count, 1);
        QVERIFY(QFile::remove(LogPath()));
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("logfile.log")));
        QCOMPARE(cache.Compute(*m_store).count, 0);
        QCOMPARE(boxes.Shown().size(), 2);
        QCOMPARE(boxes.Shown()[1].text, CLogFile::NotRegularText(LogPath()));
    }
};

QTEST_GUILESS_MAIN(TestTotals)
#include "tst_totals.moc"
