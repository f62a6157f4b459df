#include "billing/summarytext.h"
#include "billing/totals.h"

#include <QTest>

#include <limits>

class TestSummaryText : public QObject {
    Q_OBJECT

private:
    static QStringList Values(const CTotals& totals)
    {
        QStringList values;
        for (const CSummaryText::Line& line : CSummaryText::Lines(totals))
            values.append(line.value);
        return values;
    }

private slots:
    void labelsInOrder()
    {
        const QStringList expected = {"Connections",
                                      "Total time online",
                                      "Total cost",
                                      "Average cost per connection",
                                      "Average connection length",
                                      "Total data uploaded",
                                      "Total data downloaded",
                                      "Total data transmitted"};
        QCOMPARE(CSummaryText::Labels(), expected);
        QStringList fromLines;
        for (const CSummaryText::Line& line : CSummaryText::Lines(CTotals()))
            fromLines.append(line.label);
        QCOMPARE(fromLines, expected);
    }

    void valuesOfAPass()
    {
        CTotals totals;
        totals.count = 3;
        totals.totalTime = 100;
        totals.totalCost = 7.005;
        totals.averageCost = 7.0 / 3;
        totals.uploaded = 123456;
        totals.downloaded = 2345678;
        totals.transmitted = 123456 + 2345678;
        QCOMPARE(Values(totals), QStringList({"3", "00:01:40", "7.00", "2.33", "00:00:33", "123456",
                                              "2345678", "2469134"}));
    }

    void noRecords()
    {
        // Averages are not computed without records, whatever the fields hold.
        CTotals totals;
        totals.averageCost = 12.5;
        QCOMPARE(Values(totals),
                 QStringList({"0", "00:00:00", "0.00", "0", "00:00:00", "0", "0", "0"}));
    }

    void negativeCostAfterTheAllowance()
    {
        CTotals totals;
        totals.count = 1;
        totals.totalCost = 2.0 - 30.1;
        totals.averageCost = totals.totalCost;
        const QStringList values = Values(totals);
        QCOMPARE(values.at(2), QStringLiteral("-28.10"));
        QCOMPARE(values.at(3), QStringLiteral("-28.10"));
    }

    void wholeDaysAreNotShown()
    {
        CTotals totals;
        totals.count = 2;
        totals.totalTime = 50 * 3600; // average 25 hours
        const QStringList values = Values(totals);
        QCOMPARE(values.at(1), QStringLiteral("02:00:00"));
        QCOMPARE(values.at(4), QStringLiteral("01:00:00"));
    }

    void spanText_data()
    {
        QTest::addColumn<qint64>("secs");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "00:00:00";
        QTest::newRow("seconds") << qint64(59) << "00:00:59";
        QTest::newRow("hour less a second") << qint64(3599) << "00:59:59";
        QTest::newRow("day less a second") << qint64(86399) << "23:59:59";
        QTest::newRow("a day") << qint64(86400) << "00:00:00";
        QTest::newRow("30 hours") << qint64(108000) << "06:00:00";
        QTest::newRow("beyond 32 bits") << qint64(30000) * 86399 << "15:40:00";
        QTest::newRow("negative") << qint64(-61) << "-00:01:01";
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "-15:30:08";
    }
    void spanText()
    {
        QFETCH(qint64, secs);
        QFETCH(QString, text);
        QCOMPARE(CSummaryText::SpanText(secs), text);
    }
};

QTEST_GUILESS_MAIN(TestSummaryText)
#include "tst_summarytext.moc"
