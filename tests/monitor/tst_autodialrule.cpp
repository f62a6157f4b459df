#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "monitor/autodialrule.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestAutoDialRule : public QObject {
    Q_OBJECT

private slots:
    void mayDial_data()
    {
        QTest::addColumn<qint64>("allowance");
        QTest::addColumn<bool>("hangUpAtLimit");
        QTest::addColumn<qint64>("counted");
        QTest::addColumn<bool>("mayDial");

        QTest::newRow("no plan") << qint64(0) << true << qint64(5000) << true;
        QTest::newRow("warn only, past the cap") << qint64(1000) << false << qint64(5000) << true;
        QTest::newRow("below the cap") << qint64(1000) << true << qint64(999) << true;
        QTest::newRow("at the cap") << qint64(1000) << true << qint64(1000) << false;
        QTest::newRow("past the cap") << qint64(1000) << true << qint64(5000) << false;
    }
    void mayDial()
    {
        QFETCH(qint64, allowance);
        QFETCH(bool, hangUpAtLimit);
        QFETCH(qint64, counted);
        QFETCH(bool, mayDial);
        CDataPlan plan;
        plan.allowance = allowance;
        plan.hangUpAtLimit = hangUpAtLimit;
        CCycleUsage usage;
        usage.counted = counted;
        QCOMPARE(CAutoDialRule::MayDial(plan, usage), mayDial);
    }

    void questionNamesTheFirstDayOfTheNextCycle()
    {
        CCycleUsage usage;
        usage.cycle = CBillingCycle::Containing(QDate(2026, 12, 7), 15);
        QCOMPARE(CAutoDialRule::ConnectQuestion(usage),
                 u"Your data allowance is used up until 2026-12-15. Dial anyway?"_s);
    }
};

QTEST_GUILESS_MAIN(TestAutoDialRule)
#include "tst_autodialrule.moc"
