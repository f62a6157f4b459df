#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "common/settingsstore.h"
#include "monitor/usagealerts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDate kDecember(2026, 12, 1);
const QDate kNovember(2026, 11, 1);

CDataPlan Plan(const QString& warnAt, qint64 allowanceGB = 30)
{
    CDataPlan plan;
    plan.allowance = allowanceGB * CDataPlan::kBytesPerGB;
    plan.warnAt = CDataPlan::ParseThresholds(warnAt).value();
    return plan;
}

// December's cycle on the 23rd, with this many bytes received.
CCycleUsage Usage(const CDataPlan& plan, qint64 received)
{
    CCycleUsage usage;
    usage.day = QDate(2026, 12, 23);
    usage.cycle = plan.CycleOf(usage.day);
    usage.calls = 1;
    usage.received = received;
    usage.Derive(plan);
    return usage;
}

QList<int> List(const QString& text)
{
    return CDataPlan::ParseThresholds(text).value();
}

} // namespace

class TestUsageAlerts : public QObject {
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<QString>("warnAt");
        QTest::addColumn<qint64>("received");
        QTest::addColumn<QDate>("beforeCycle");
        QTest::addColumn<QString>("beforeWarned");
        QTest::addColumn<int>("announce");
        QTest::addColumn<QDate>("afterCycle");
        QTest::addColumn<QString>("afterWarned");

        const qint64 gb = CDataPlan::kBytesPerGB;
        const QDate none;
        QTest::newRow("below") << u"80,100"_s << 20 * gb << none << u""_s << 0 << none << u""_s;
        QTest::newRow("a byte short")
            << u"80,100"_s << 24 * gb - 1 << none << u""_s << 0 << none << u""_s;
        QTest::newRow("at") << u"80,100"_s << 24 * gb << none << u""_s << 80 << kDecember
                            << u"80"_s;
        QTest::newRow("past two at once: the highest")
            << u"50,80,100"_s << 25 * gb << none << u""_s << 80 << kDecember << u"50,80"_s;
        QTest::newRow("same cycle after a restart")
            << u"80,100"_s << 25 * gb << kDecember << u"80"_s << 0 << kDecember << u"80"_s;
        QTest::newRow("same cycle, the next one")
            << u"80,100"_s << 31 * gb << kDecember << u"80"_s << 100 << kDecember << u"80,100"_s;
        QTest::newRow("next cycle starts afresh")
            << u"80,100"_s << 25 * gb << kNovember << u"80,100"_s << 80 << kDecember << u"80"_s;
        QTest::newRow("next cycle, nothing passed: old state stays")
            << u"80,100"_s << 1 * gb << kNovember << u"80,100"_s << 0 << kNovember << u"80,100"_s;
        QTest::newRow("lower one added: marked, not announced")
            << u"50,80,90"_s << 25 * gb << kDecember << u"80"_s << 0 << kDecember << u"50,80"_s;
        QTest::newRow("thresholds changed, a higher one passed")
            << u"70,85"_s << 26 * gb << kDecember << u"80"_s << 85 << kDecember << u"70,80,85"_s;
        QTest::newRow("no thresholds") << u""_s << 30 * gb << none << u""_s << 0 << none << u""_s;
    }
    void decide()
    {
        QFETCH(QString, warnAt);
        QFETCH(qint64, received);
        QFETCH(QDate, beforeCycle);
        QFETCH(QString, beforeWarned);
        QFETCH(int, announce);
        QFETCH(QDate, afterCycle);
        QFETCH(QString, afterWarned);

        const CDataPlan plan = Plan(warnAt);
        const CUsageAlerts::State before{beforeCycle, List(beforeWarned)};
        const CUsageAlerts::Decision decision =
            CUsageAlerts::Decide(plan, Usage(plan, received), before);
        QCOMPARE(decision.announce, announce);
        QCOMPARE(decision.state.cycle, afterCycle);
        QCOMPARE(decision.state.warned, List(afterWarned));
        QCOMPARE(decision.changed, decision.state != before);
    }

    void noPlanNoWarning()
    {
        CDataPlan plan = Plan(u"80"_s);
        const CCycleUsage usage = Usage(plan, 40 * CDataPlan::kBytesPerGB);
        plan.allowance = 0;
        QCOMPARE(CUsageAlerts::Decide(plan, usage, {}).announce, 0);
    }

    // The state lives in the settings: a second run in the same cycle does not warn again.
    void stateSurvivesARestart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ov.ini"_s);
        const CDataPlan plan = Plan(u"80,100"_s);
        const CCycleUsage usage = Usage(plan, 25 * CDataPlan::kBytesPerGB);
        {
            CSettingsStore store(path);
            QCOMPARE(CUsageAlerts::Check(store, plan, usage), 80);
            QCOMPARE(CUsageAlerts::Check(store, plan, usage), 0);
        }
        CSettingsStore store(path);
        QCOMPARE(store.Read(Keys::WarnedCycle), u"2026-12-01"_s);
        QCOMPARE(store.Read(Keys::WarnedAt), u"80"_s);
        QCOMPARE(CUsageAlerts::Check(store, plan, usage), 0);
        // A damaged state counts as nothing warned.
        store.Write(Keys::WarnedAt, u"eighty"_s);
        QCOMPARE(CUsageAlerts::Check(store, plan, usage), 80);
    }
};

QTEST_GUILESS_MAIN(TestUsageAlerts)
#include "tst_usagealerts.moc"
