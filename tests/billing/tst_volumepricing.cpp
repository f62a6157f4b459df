#include "billing/dataplan.h"
#include "billing/logreader.h"
#include "billing/reportlines.h"
#include "billing/reportrow.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "billing/usagecache.h"
#include "common/settingsstore.h"
#include "support/testclock.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The price of calls under a data plan, worked by hand, through every layer that prices:
// the report's rows, the totals, and the command-line tool. Time costs 0.10 a minute; each
// GB past the allowance costs 2 (1 in the last two rows).
class TestVolumePricing : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString LogPath() const { return m_dir.filePath(QStringLiteral("logfile.log")); }

    QProcess::ExitStatus RunCli(const QStringList& args, QByteArray& output, int& code)
    {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(ORVALIS_CLI_PATH), args);
        if (!cli.waitForFinished(60000))
            return QProcess::CrashExit;
        output = cli.readAllStandardOutput();
        code = cli.exitCode();
        return cli.exitStatus();
    }

    // Writes the settings for the plan and the log; returns the plan as the program reads it.
    CDataPlan Prepare(const QString& plan, const QString& log)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("config/orvalis"));
        QFile::remove(m_dir.filePath(QStringLiteral("config/orvalis/ov.ini")));
        CSettingsStore store(m_dir.filePath(QStringLiteral("config/orvalis/ov.ini")));
        store.Write(Keys::CostPerMinute, QStringLiteral("0.1"));
        store.Write(Keys::IniPath, m_dir.path() + u'/');
        for (const QString& pair : plan.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList keyValue = pair.split(u'=');
            store.WriteString(QStringLiteral("DataPlan"), keyValue.at(0), keyValue.at(1));
        }
        QFile file(LogPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(log.toUtf8());
        return CDataPlan::Load(store);
    }

private slots:
    void prices_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<QString>("log");
        QTest::addColumn<QStringList>("prices"); // in log order
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("cycleTotal"); // "this month" on 20-11-2026
        const auto line = [](const char* date, const char* start, const char* end, qint64 up,
                             qint64 down) {
            return QStringLiteral("%1|%2|%1|%3|anna|ppp0|ISP|%4|%5|\n")
                .arg(QLatin1String(date), QLatin1String(start), QLatin1String(end))
                .arg(up)
                .arg(down);
        };
        // 6 GB, then 4.5 GB of which 0.5 GB is past the cap, then 1 GB all past it.
        QTest::newRow("crossed during a call")
            << "Allowance=10 OveragePerGB=2"
            << line("03-11-2026", "10:00:00", "10:10:00", 0, 6000000000) +
                   line("05-11-2026", "10:00:00", "10:01:00", 500000000, 4000000000) +
                   line("20-11-2026", "10:00:00", "10:01:00", 0, 1000000000)
            << QStringList{"1.00", "1.10", "2.10"} << "4.20"
            << "4.20";
        // The 14th belongs to the cycle before: its 9 GB do not count against the next one.
        QTest::newRow("cycle boundary")
            << "Allowance=10 OveragePerGB=2 CycleStartDay=15"
            << line("14-11-2026", "10:00:00", "10:10:00", 0, 9000000000) +
                   line("15-11-2026", "10:00:00", "10:00:00", 0, 9000000000) +
                   line("16-11-2026", "10:00:00", "10:00:00", 0, 2000000000)
            << QStringList{"1.00", "0.00", "2.00"} << "3.00"
            << "2.00";
        QTest::newRow("received only")
            << "Allowance=10 OveragePerGB=2 Counted=1"
            << line("03-11-2026", "10:00:00", "10:00:00", 3000000000, 9000000000) +
                   line("04-11-2026", "10:00:00", "10:00:00", 5000000000, 2000000000)
            << QStringList{"0.00", "2.00"} << "2.00"
            << "2.00";
        // The later call is written first; the cap is used up in the order of the starts.
        QTest::newRow("log out of order")
            << "Allowance=2.25 OveragePerGB=1"
            << line("10-11-2026", "12:00:00", "12:00:00", 0, 2000000000) +
                   line("10-11-2026", "08:00:00", "08:00:00", 0, 1000000000) +
                   line("11-11-2026", "09:00:00", "09:00:00", 0, 500000000)
            << QStringList{"0.75", "0.00", "0.50"} << "1.25"
            << "1.25";
        QTest::newRow("same second, log order")
            << "Allowance=1 OveragePerGB=1"
            << line("10-11-2026", "10:00:00", "10:00:00", 0, 800000000) +
                   line("10-11-2026", "10:00:00", "10:00:00", 0, 800000000)
            << QStringList{"0.00", "0.60"} << "0.60"
            << "0.60";
    }

    void prices()
    {
        QFETCH(QString, plan);
        QFETCH(QString, log);
        QFETCH(QStringList, prices);
        const CDataPlan dataPlan = Prepare(plan, log);
        QVERIFY(dataPlan.Active());
        const CSettingsStore store(m_dir.filePath(QStringLiteral("config/orvalis/ov.ini")));
        const CTariff tariff = CTariff::Load(store);

        // The report's rows.
        const CReportLines lines = CReportLines::Read(LogPath(), nullptr, nullptr, dataPlan);
        QStringList shown;
        for (qsizetype i = 0; i < lines.Size(); ++i) {
            CLogRecord record;
            QVERIFY(CLogReader::ParseLine(lines.Line(i), record));
            shown.append(CReportRow::Columns(record, tariff, lines.OverageCost(i)).last());
        }
        QCOMPARE(shown, prices);

        // The totals, of every call and of the cycle of 20 November.
        QTEST(CTariff::PriceText(
                  CTotals::Pass(LogPath(), CTotals::All, "20-11-2026", tariff, dataPlan).totalCost),
              "total");
        QTEST(CTariff::PriceText(
                  CTotals::Pass(LogPath(), CTotals::ThisMonth, "20-11-2026", tariff, dataPlan)
                      .totalCost),
              "cycleTotal");

        // The command-line tool, newest first.
        QByteArray output;
        int code = -1;
        QCOMPARE(RunCli({QStringLiteral("report"), QStringLiteral("--json")}, output, code),
                 QProcess::NormalExit);
        QCOMPARE(code, 0);
        const QJsonArray rows = QJsonDocument::fromJson(output).array();
        QStringList printed;
        for (const QJsonValue& row : rows)
            printed.prepend(CTariff::PriceText(row.toObject().value(u"price").toDouble()));
        QCOMPARE(printed, prices);
    }

    // The running program's figures of a cycle (the page, the tooltip, the alerts) and the
    // tool's are the same for the same day; --over decides by them.
    void usageAgreesWithTheTool()
    {
        Prepare(QStringLiteral("Allowance=10 OveragePerGB=2 CycleStartDay=15"),
                QStringLiteral("14-11-2026|10:00:00|14-11-2026|10:10:00|a|p|I|0|9000000000|\n"
                               "15-11-2026|10:00:00|15-11-2026|10:05:00|a|p|I|5|8000000000|\n"));
        const CSettingsStore store(m_dir.filePath(QStringLiteral("config/orvalis/ov.ini")));
        const CTestClock clock(QDateTime(QDate(2026, 11, 20), QTime(12, 0)));
        const QByteArray program = CUsageCache().FromLog(store).ToJson();
        QVERIFY(program.contains("\"percent\":80.0"));
        QByteArray output;
        int code = -1;
        QCOMPARE(
            RunCli({QStringLiteral("usage"), QStringLiteral("--json"), QStringLiteral("--date"),
                    QStringLiteral("2026-11-20"), QStringLiteral("--over"), QStringLiteral("80")},
                   output, code),
            QProcess::NormalExit);
        QCOMPARE(output, program + '\n');
        QCOMPARE(code, 1);
        QCOMPARE(
            RunCli({QStringLiteral("usage"), QStringLiteral("--date"), QStringLiteral("2026-11-20"),
                    QStringLiteral("--over"), QStringLiteral("80.1")},
                   output, code),
            QProcess::NormalExit);
        QCOMPARE(code, 0);
    }
};

QTEST_GUILESS_MAIN(TestVolumePricing)
#include "tst_volumepricing.moc"
