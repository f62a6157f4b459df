#include "billing/dataplan.h"
#include "billing/statisticstable.h"
#include "billing/tariff.h"
#include "billing/usagestatistics.h"
#include "common/settingsstore.h"
#include "support/exampletariff.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using Range = CUsageStatistics::Range;

// Cycles from the 15th, 2 GB, each GB past it 1.00; under the worked-example tariff.
// Today is Tuesday 8 December 2026: this cycle runs from 15 November to 14 December.
const QDate kToday(2026, 12, 8);

const char* const kLog = "05-03-2020|12:00:00|05-03-2020|12:00:30|anna|Modem|Office|10|20|\n"
                         "20-10-2026|10:00:00|20-10-2026|10:10:00|anna|Modem|Office|0|500000000|\n"
                         "16-11-2026|10:59:00|16-11-2026|11:01:00|anna|Modem|Office|100000000|"
                         "1400000000|\n"
                         "this line is no record\n"
                         "16-11-2026|23:30:00|16-11-2026|23:40:00|anna|Modem|Office|0|1000000000|\n"
                         "31-02-2026|10:00:00|31-02-2026|10:01:00|anna|Modem|Office|5|5|\n"
                         "01-12-2026|08:00:00|01-12-2026|08:01:00|anna|Modem|Office|0|200000000|\n";

CDataPlan Plan()
{
    CDataPlan plan;
    plan.cycleStartDay = 15;
    plan.allowance = 2 * CDataPlan::kBytesPerGB;
    plan.overagePerGB = 1.0;
    return plan;
}

} // namespace

class TestUsageStatistics : public QObject {
    Q_OBJECT

private:
    CUsageStatistics Pass(const QByteArray& log, Range range)
    {
        QFile file(m_dir->filePath(QStringLiteral("logfile.log")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(log);
        file.close();
        return CUsageStatistics::Pass(file.fileName(), Plan(), m_tariff, range, kToday);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    CTariff m_tariff;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        CSettingsStore store(m_dir->filePath(QStringLiteral("ov.ini")));
        CExampleTariff::WriteTo(store);
        m_tariff = CTariff::Load(store);
    }

    void ranges_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("calls");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("cycles");
        QTest::addColumn<QDate>("first");
        QTest::addColumn<QDate>("last");
        // Bounded ranges list every day and cycle; the whole log only those with calls.
        QTest::newRow("this cycle")
            << int(Range::ThisCycle) << 3 << 30 << 1 << QDate(2026, 11, 15) << QDate(2026, 12, 14);
        QTest::newRow("last cycle")
            << int(Range::LastCycle) << 1 << 31 << 1 << QDate(2026, 10, 15) << QDate(2026, 11, 14);
        QTest::newRow("twelve cycles") << int(Range::LastTwelveCycles) << 4 << 365 << 12
                                       << QDate(2025, 12, 15) << QDate(2026, 12, 14);
        QTest::newRow("all") << int(Range::All) << 5 << 4 << 3 << QDate(2020, 3, 5)
                             << QDate(2026, 12, 1);
    }

    void ranges()
    {
        QFETCH(int, range);
        const CUsageStatistics stats = Pass(kLog, Range(range));
        QTEST(stats.calls, "calls");
        QTEST(int(stats.days.size()), "days");
        QTEST(int(stats.cycles.size()), "cycles");
        QTEST(stats.first, "first");
        QTEST(stats.last, "last");
        QCOMPARE(stats.undated, 2);
        QCOMPARE(stats.cycles.constLast().cycle, Plan().CycleOf(stats.last));
    }

    void daysOfThisCycle_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("calls");
        QTest::addColumn<qint64>("counted");
        QTest::addColumn<double>("cost");
        QTest::newRow("no calls") << QDate(2026, 11, 15) << 0 << qint64(0) << 0.0;
        // 1.30 and 3.10 for the time; 2.5 GB, the last 0.5 GB past the allowance.
        QTest::newRow("over the allowance")
            << QDate(2026, 11, 16) << 2 << qint64(2500000000) << 4.90;
        // 0.70 for the time; every byte past the allowance.
        QTest::newRow("after the allowance")
            << QDate(2026, 12, 1) << 1 << qint64(200000000) << 0.90;
    }

    void daysOfThisCycle()
    {
        QFETCH(QDate, date);
        const CUsageStatistics stats = Pass(kLog, Range::ThisCycle);
        const qsizetype index = stats.first.daysTo(date);
        const CUsageStatistics::Day& day = stats.days.at(index);
        QCOMPARE(day.date, date);
        QTEST(day.calls, "calls");
        QTEST(day.counted, "counted");
        QFETCH(double, cost);
        QCOMPARE(CTariff::PriceText(day.cost), CTariff::PriceText(cost));
    }

    void cycleAddsUpItsDays()
    {
        const CUsageStatistics stats = Pass(kLog, Range::ThisCycle);
        const CCycleUsage* current = stats.CurrentCycle();
        QVERIFY(current);
        // 5.10 for the time, 0.70 for the 0.7 GB past the allowance.
        QCOMPARE(CTariff::PriceText(current->cost), QStringLiteral("5.80"));
        const QList<CUsageStatistics::Day> top = stats.TopDays(5);
        QCOMPARE(top.size(), 2);
        QCOMPARE(top.at(0).date, QDate(2026, 11, 16));
        QCOMPARE(top.at(1).date, QDate(2026, 12, 1));
        QVERIFY(!Pass(kLog, Range::LastCycle).CurrentCycle());
    }

    void hoursShareOutTheBytes_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<QByteArray>("end");
        QTest::addColumn<QList<int>>("hours");
        QTest::addColumn<QList<qint64>>("received");
        QTest::newRow("within an hour") << QByteArray("10:00:00") << QByteArray("10:30:00")
                                        << QList<int>{10} << QList<qint64>{1001};
        QTest::newRow("over the hour") << QByteArray("10:59:00") << QByteArray("11:01:00")
                                       << QList<int>{10, 11} << QList<qint64>{500, 501};
        QTest::newRow("past midnight") << QByteArray("23:59:00") << QByteArray("00:02:00")
                                       << QList<int>{23, 0} << QList<qint64>{333, 668};
        QTest::newRow("no duration") << QByteArray("12:00:00") << QByteArray("12:00:00")
                                     << QList<int>{12} << QList<qint64>{1001};
    }

    void hoursShareOutTheBytes()
    {
        QFETCH(QByteArray, start);
        QFETCH(QByteArray, end);
        QFETCH(QList<int>, hours);
        QFETCH(QList<qint64>, received);
        const CUsageStatistics stats =
            Pass("01-12-2026|" + start + "|01-12-2026|" + end + "|anna|Modem|Office|0|1001|\n",
                 Range::ThisCycle);
        QList<qint64> expected(24, 0);
        for (qsizetype i = 0; i < hours.size(); ++i)
            expected[hours[i]] = received[i];
        QList<qint64> got;
        for (const CUsageStatistics::Hour& hour : stats.hours)
            got.append(hour.received);
        QCOMPARE(got, expected);
        QCOMPARE(stats.hours[hours.first()].calls, 1);
    }

    void emptyAndMissingLog()
    {
        const CUsageStatistics missing = CUsageStatistics::Pass(
            m_dir->filePath(QStringLiteral("none.log")), Plan(), m_tariff, Range::All, kToday);
        QVERIFY(missing.IsEmpty());
        QVERIFY(missing.days.isEmpty() && missing.cycles.isEmpty());
        QVERIFY(!missing.first.isValid());
        const CUsageStatistics empty = Pass("\n", Range::ThisCycle);
        QVERIFY(empty.IsEmpty());
        QCOMPARE(empty.days.size(), 30);
        QCOMPARE(empty.cycles.constFirst().cost, 0.0);
    }

    // Text and CSV are checked through the tool.
    void json()
    {
        const CUsageStatistics stats = Pass(kLog, Range::ThisCycle);
        QCOMPARE(CStatisticsTable::Days(stats.days.mid(16, 1), CStatisticsTable::Format::Json),
                 QByteArray("[\n{\"date\":\"2026-12-01\",\"calls\":1,\"received\":200000000,"
                            "\"sent\":0,\"counted\":200000000,\"cost\":0.90}\n]\n"));
        QCOMPARE(CStatisticsTable::Days({}, CStatisticsTable::Format::Json), QByteArray("[]\n"));
    }
};

QTEST_GUILESS_MAIN(TestUsageStatistics)
#include "tst_usagestatistics.moc"
