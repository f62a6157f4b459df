#include "cli/cliargs.h"

#include <QTest>

// The command line of orvalis-cli, read without running anything.
class TstCliArgs : public QObject {
    Q_OBJECT

private slots:
    void acceptedForms();
    void badCommandLines_data();
    void badCommandLines();
};

void TstCliArgs::acceptedForms()
{
    QString error;
    auto args = CCliArgs::Parse({"summary", "--filter", "month", "--log=/x/log"}, error);
    QVERIFY2(args, qPrintable(error));
    QCOMPARE(args->command, CCliArgs::Command::Summary);
    QCOMPARE(args->filter, std::optional<int>(1));
    QCOMPARE(args->logPath, QStringLiteral("/x/log"));
    QVERIFY(!args->csv);

    args = CCliArgs::Parse({"summary", "--filter=today"}, error);
    QVERIFY(args);
    QCOMPARE(args->filter, std::optional<int>(2));
    QVERIFY(args->logPath.isEmpty());
    QCOMPARE(CCliArgs::Parse({"summary"}, error)->filter, std::nullopt);
    QCOMPARE(CCliArgs::Parse({"summary", "--filter", "all"}, error)->filter, std::optional<int>(0));

    // Options may stand before the command word.
    args = CCliArgs::Parse({"--csv", "report", "--log", "/y"}, error);
    QVERIFY(args);
    QCOMPARE(args->command, CCliArgs::Command::Report);
    QVERIFY(args->csv);
    QCOMPARE(args->logPath, QStringLiteral("/y"));

    args = CCliArgs::Parse({"price", "29-02-2000", "23:59:59", "00:00:01"}, error);
    QVERIFY(args);
    QCOMPARE(args->command, CCliArgs::Command::Price);
    QCOMPARE(args->day, 29);
    QCOMPARE(args->month, 2);
    QCOMPARE(args->year, 2000);
    QCOMPARE(args->startSecs, 86399);
    QCOMPARE(args->endSecs, 1);

    args = CCliArgs::Parse({"monthly", "--csv", "--range=12", "--date", "2026-12-08"}, error);
    QVERIFY2(args, qPrintable(error));
    QCOMPARE(args->command, CCliArgs::Command::Monthly);
    QVERIFY(args->csv);
    QCOMPARE(args->range, CUsageStatistics::Range::LastTwelveCycles);
    QCOMPARE(args->date, QDate(2026, 12, 8));
    QCOMPARE(CCliArgs::Parse({"daily"}, error)->range, std::nullopt);

    // Help wins over anything else on the line; version is a command of its own.
    QCOMPARE(CCliArgs::Parse({"report", "-h", "--bogus"}, error)->command, CCliArgs::Command::Help);
    QCOMPARE(CCliArgs::Parse({"--help"}, error)->command, CCliArgs::Command::Help);
    QCOMPARE(CCliArgs::Parse({"--version"}, error)->command, CCliArgs::Command::Version);
}

void TstCliArgs::badCommandLines_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing") << QStringList{} << "no command given";
    QTest::newRow("unknown command") << QStringList{"totals"} << "unknown command 'totals'";
    QTest::newRow("unknown option") << QStringList{"summary", "--week"} << "unknown option 'week'";
    QTest::newRow("unknown filter") << QStringList{"summary", "--filter", "week"}
                                    << "unknown filter 'week' (use all, month or today)";
    QTest::newRow("filter without value")
        << QStringList{"summary", "--filter"} << "missing value after '--filter'";
    QTest::newRow("empty log") << QStringList{"report", "--log="} << "option --log needs a value";
    QTest::newRow("log twice") << QStringList{"report", "--log", "a", "--log=b"}
                               << "option --log given twice";
    QTest::newRow("filter twice") << QStringList{"summary", "--filter=all", "--filter=all"}
                                  << "option --filter given twice";
    QTest::newRow("csv for summary")
        << QStringList{"summary", "--csv"} << "option --csv is only for report, daily and monthly";
    QTest::newRow("filter for report")
        << QStringList{"report", "--filter=all"} << "option --filter is only for summary";
    QTest::newRow("log for price")
        << QStringList{"price", "--log=a", "14-06-2000", "10:00:00", "10:01:00"}
        << "option --log is not for price";
    QTest::newRow("stray argument")
        << QStringList{"report", "extra"} << "unexpected argument 'extra' for report";
    QTest::newRow("price missing time") << QStringList{"price", "14-06-2000", "10:00:00"}
                                        << "price needs DD-MM-YYYY HH:MM:SS HH:MM:SS";
    QTest::newRow("price no date") << QStringList{"price", "31-02-2000", "10:00:00", "10:01:00"}
                                   << "'31-02-2000' is no date DD-MM-YYYY";
    QTest::newRow("usage bad date")
        << QStringList{"usage", "--date", "2026-02-30"} << "'2026-02-30' is no date YYYY-MM-DD";
    QTest::newRow("usage bad percent")
        << QStringList{"usage", "--over", "abc"} << "'abc' is no percentage";
    QTest::newRow("date for summary") << QStringList{"summary", "--date", "2026-01-01"}
                                      << "option --date is only for usage, daily and monthly";
    QTest::newRow("over for daily")
        << QStringList{"daily", "--over", "80"} << "option --over is only for usage";
    QTest::newRow("range for usage")
        << QStringList{"usage", "--range", "all"} << "option --range is only for daily and monthly";
    QTest::newRow("unknown range") << QStringList{"monthly", "--range", "year"}
                                   << "unknown range 'year' (use this, last, 12 or all)";
    QTest::newRow("json and csv") << QStringList{"report", "--json", "--csv"}
                                  << "options --csv and --json cannot be given together";
    QTest::newRow("price bad end") << QStringList{"price", "14-06-2000", "10:00:00", "10:61:00"}
                                   << "'10:61:00' is no time of day HH:MM:SS";
}

void TstCliArgs::badCommandLines()
{
    QFETCH(QStringList, args);
    QString error;
    QVERIFY(!CCliArgs::Parse(args, error));
    QTEST(error, "error");
}

QTEST_GUILESS_MAIN(TstCliArgs)
#include "tst_cliargs.moc"
