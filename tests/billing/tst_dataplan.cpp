#include "billing/billingcycle.h"
#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "billing/tariff.h"
#include "common/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The billing cycle, the plan as read from the settings, and the figures of a cycle.
class TestDataPlan : public QObject {
    Q_OBJECT

private slots:
    void cycleContaining_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("startDay");
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QDate>("end");
        QTest::newRow("calendar month")
            << QDate(2026, 2, 10) << 1 << QDate(2026, 2, 1) << QDate(2026, 2, 28);
        QTest::newRow("on the start day")
            << QDate(2026, 12, 15) << 15 << QDate(2026, 12, 15) << QDate(2027, 1, 14);
        QTest::newRow("before the start day, over new year")
            << QDate(2027, 1, 14) << 15 << QDate(2026, 12, 15) << QDate(2027, 1, 14);
        QTest::newRow("31st in February")
            << QDate(2026, 3, 15) << 31 << QDate(2026, 2, 28) << QDate(2026, 3, 30);
        QTest::newRow("31st, leap year")
            << QDate(2024, 2, 29) << 31 << QDate(2024, 2, 29) << QDate(2024, 3, 30);
        QTest::newRow("31st in a 30-day month")
            << QDate(2026, 4, 30) << 31 << QDate(2026, 4, 30) << QDate(2026, 5, 30);
        QTest::newRow("day out of range taken in")
            << QDate(2026, 6, 1) << 0 << QDate(2026, 6, 1) << QDate(2026, 6, 30);
    }

    void cycleContaining()
    {
        QFETCH(QDate, date);
        QFETCH(int, startDay);
        const CBillingCycle cycle = CBillingCycle::Containing(date, startDay);
        QTEST(cycle.Start(), "start");
        QTEST(cycle.End(), "end");
        QVERIFY(cycle.Contains(date));
        // The next cycle starts the day after this one ends.
        QCOMPARE(cycle.Next(startDay).Start(), cycle.End().addDays(1));
        QCOMPARE(cycle.DaysElapsed(date) + cycle.DaysLeft(date), cycle.DaysTotal() + 1);
    }

    void parseAllowance_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("bytes"); // -1: refused
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("whole") << "30" << qint64(30000000000);
        QTest::newRow("decimal, exact") << " 2.5 " << qint64(2500000000);
        QTest::newRow("tenth is exact") << "0.1" << qint64(100000000);
        QTest::newRow("one byte") << "0.000000001" << qint64(1);
        QTest::newRow("ten decimals") << "0.0000000001" << qint64(-1);
        QTest::newRow("negative") << "-1" << qint64(-1);
        QTest::newRow("text") << "abc" << qint64(-1);
        QTest::newRow("unit") << "30GB" << qint64(-1);
        QTest::newRow("comma") << "2,5" << qint64(-1);
        QTest::newRow("lone point") << "." << qint64(-1);
        QTest::newRow("too large") << "9999999999" << qint64(-1);
    }

    void parseAllowance()
    {
        QFETCH(QString, text);
        QFETCH(qint64, bytes);
        const std::optional<qint64> parsed = CDataPlan::ParseAllowance(text);
        QCOMPARE(parsed.value_or(-1), bytes);
        if (parsed)
            QCOMPARE(CDataPlan::ParseAllowance(CDataPlan::AllowanceText(*parsed)), parsed);
    }

    // Garbage in the file gives a safe plan; the other keys keep their values.
    void loadReadsSafely_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("startDay");
        QTest::addColumn<qint64>("allowance");
        QTest::addColumn<QList<int>>("warnAt");
        QTest::addColumn<double>("price");
        QTest::newRow("defaults") << "" << 1 << qint64(0) << QList<int>{80, 100} << 0.0;
        QTest::newRow("a plan") << "CycleStartDay=15\nAllowance=30\nWarnAt=100, 50,50\n"
                                   "OveragePerGB=2.5000000000\n"
                                << 15 << qint64(30000000000) << QList<int>{50, 100} << 2.5;
        QTest::newRow("day 0") << "CycleStartDay=0\nAllowance=1\n"
                               << 1 << qint64(1000000000) << QList<int>{80, 100} << 0.0;
        QTest::newRow("day 40") << "CycleStartDay=40\n"
                                << 31 << qint64(0) << QList<int>{80, 100} << 0.0;
        QTest::newRow("negative allowance") << "Allowance=-5\nCycleStartDay=3\n"
                                            << 3 << qint64(0) << QList<int>{80, 100} << 0.0;
        QTest::newRow("text allowance") << "Allowance=lots\n"
                                        << 1 << qint64(0) << QList<int>{80, 100} << 0.0;
        QTest::newRow("bad threshold dropped") << "Allowance=1\nWarnAt=80,abc\n"
                                               << 1 << qint64(1000000000) << QList<int>{80} << 0.0;
        QTest::newRow("negative price") << "Allowance=1\nOveragePerGB=-3\n"
                                        << 1 << qint64(1000000000) << QList<int>{80, 100} << 0.0;
    }

    void loadReadsSafely()
    {
        QFETCH(QString, ini);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("ov.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[DataPlan]\n" + ini.toUtf8());
        file.close();
        const CDataPlan plan = CDataPlan::Load(CSettingsStore(file.fileName()));
        QTEST(plan.cycleStartDay, "startDay");
        QTEST(plan.allowance, "allowance");
        QTEST(plan.warnAt, "warnAt");
        QTEST(plan.overagePerGB, "price");
    }

    void thresholdsAsTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored"); // "-": refused
        QTest::newRow("default") << "80,100"
                                 << "80,100";
        QTest::newRow("blanks, order, twice") << " 100 , 80,80 "
                                              << "80,100";
        QTest::newRow("none") << ""
                              << "";
        QTest::newRow("word") << "80,abc"
                              << "-";
        QTest::newRow("zero") << "0"
                              << "-";
        QTest::newRow("fraction") << "80.5"
                                  << "-";
    }

    void thresholdsAsTyped()
    {
        QFETCH(QString, text);
        const std::optional<QList<int>> parsed = CDataPlan::ParseThresholds(text);
        QTEST(parsed ? CDataPlan::ThresholdsText(*parsed) : QStringLiteral("-"), "stored");
    }

    // The figures of a cycle of 30 days, worked by hand: 10 GB allowance at 2 per GB past
    // it, 12 GB received and sent by the 10th day, 3.00 of time cost.
    void usageFigures_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("counting");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("day 10, both ways")
            << QDate(2026, 11, 24) << int(CDataPlan::ReceivedAndSent)
            << QByteArray("{\"cycle_start\":\"2026-11-15\",\"cycle_end\":\"2026-12-14\","
                          "\"days_total\":30,\"days_left\":21,\"received\":9000000000,"
                          "\"sent\":3000000000,\"counted\":12000000000,"
                          "\"allowance\":10000000000,\"percent\":120.0,"
                          "\"projected\":36000000000,\"daily_quota\":0,\"cost\":7.00,"
                          "\"projected_cost\":61.00}");
        // 9 GB of 10 counted: 1 GB left over 21 days is 47,619,047 bytes a day (floor).
        QTest::newRow("day 10, received only")
            << QDate(2026, 11, 24) << int(CDataPlan::ReceivedOnly)
            << QByteArray("{\"cycle_start\":\"2026-11-15\",\"cycle_end\":\"2026-12-14\","
                          "\"days_total\":30,\"days_left\":21,\"received\":9000000000,"
                          "\"sent\":3000000000,\"counted\":9000000000,"
                          "\"allowance\":10000000000,\"percent\":90.0,"
                          "\"projected\":27000000000,\"daily_quota\":47619047,\"cost\":3.00,"
                          "\"projected_cost\":43.00}");
        QTest::newRow("last day") << QDate(2026, 12, 14) << int(CDataPlan::ReceivedOnly)
                                  << QByteArray("{\"cycle_start\":\"2026-11-15\",\"cycle_end\":"
                                                "\"2026-12-14\",\"days_total\":30,\"days_left\":"
                                                "1,\"received\":9000000000,\"sent\":3000000000,"
                                                "\"counted\":9000000000,\"allowance\":"
                                                "10000000000,\"percent\":90.0,\"projected\":"
                                                "9000000000,\"daily_quota\":1000000000,"
                                                "\"cost\":3.00,\"projected_cost\":3.00}");
    }

    void usageFigures()
    {
        QFETCH(QDate, day);
        QFETCH(int, counting);
        CDataPlan plan;
        plan.cycleStartDay = 15;
        plan.allowance = 10 * CDataPlan::kBytesPerGB;
        plan.overagePerGB = 2.0;
        plan.counting = CDataPlan::Counting(counting);
        CCycleUsage usage;
        usage.cycle = plan.CycleOf(day);
        usage.day = day;
        usage.calls = 2;
        usage.received = 9000000000;
        usage.sent = 3000000000;
        usage.timeCost = 3.0;
        usage.Derive(plan);
        QTEST(usage.ToJson(), "json");
    }
};

QTEST_GUILESS_MAIN(TestDataPlan)
#include "tst_dataplan.moc"
