#include "billing/gui/statisticscharts.h"
#include "billing/gui/statisticsdlg.h"
#include "common/settingsstore.h"

#include "support/exampletariff.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QAbstractAxis>
#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLegend>
#include <QLineSeries>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using Range = CUsageStatistics::Range;
using Chart = CStatisticsCharts::Chart;

// Cycles from the 15th, 2 GB, each GB past it 1.00, under the worked-example tariff; today
// is 8 December 2026.
const char* const kLog = "20-10-2026|10:00:00|20-10-2026|10:10:00|anna|Modem|Office|0|500000000|\n"
                         "16-11-2026|10:59:00|16-11-2026|11:01:00|anna|Modem|Office|100000000|"
                         "1400000000|\n"
                         "16-11-2026|23:30:00|16-11-2026|23:40:00|anna|Modem|Office|0|1000000000|\n"
                         "31-02-2026|10:00:00|31-02-2026|10:01:00|anna|Modem|Office|5|5|\n"
                         "01-12-2026|08:00:00|01-12-2026|08:01:00|anna|Modem|Office|0|200000000|\n";

// The values of a bar set or the heights of a line's points, by object name.
QList<double> Values(QChart* chart, const QString& name)
{
    QList<double> values;
    for (QAbstractSeries* series : chart->series()) {
        if (auto* bars = qobject_cast<QAbstractBarSeries*>(series)) {
            for (QBarSet* set : bars->barSets()) {
                for (int i = 0; set->objectName() == name && i < set->count(); ++i)
                    values.append(set->at(i));
            }
        } else if (auto* line = qobject_cast<QLineSeries*>(series);
                   line && line->objectName() == name) {
            for (const QPointF& point : line->points())
                values.append(point.y());
        }
    }
    return values;
}

} // namespace

class TestStatisticsDlg : public QObject {
    Q_OBJECT

private:
    void WriteLog(const QByteArray& data)
    {
        QFile file(m_dir->filePath(QStringLiteral("logs/logfile.log")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

    // A window on the range, with its figures in the charts.
    std::unique_ptr<CStatisticsDlg> Open(Range range)
    {
        m_store->Write(Keys::StatisticsRange, int(range));
        auto dlg = std::make_unique<CStatisticsDlg>(*m_store);
        QSignalSpy loaded(dlg.get(), &CStatisticsDlg::Loaded);
        if (!loaded.wait(20000) || dlg->Loading())
            return nullptr;
        return dlg;
    }

    QByteArray Cli(const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ORVALIS_CLI_PATH), args);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return "failed: " + process.readAllStandardError();
        return process.readAllStandardOutput();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CTestClock> m_clock;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("config/orvalis")));
        QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("logs")));
        m_store = std::make_unique<CSettingsStore>(
            m_dir->filePath(QStringLiteral("config/orvalis/ov.ini")));
        m_store->Write(Keys::IniPath, m_dir->filePath(QStringLiteral("logs")));
        CExampleTariff::WriteTo(*m_store);
        m_store->Write(Keys::CycleStartDay, 15);
        m_store->Write(Keys::Allowance, QStringLiteral("2"));
        m_store->Write(Keys::OveragePerGB, QStringLiteral("1"));
        m_clock = std::make_unique<CTestClock>(QDateTime(QDate(2026, 12, 8), QTime(12, 0)));
        WriteLog(kLog);
    }

    void cleanup()
    {
        m_clock.reset();
        m_store.reset();
        m_dir.reset();
    }

    // The figures behind each chart, in GB where the largest bar reaches a GB.
    void seriesValues_data()
    {
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("chart");
        QTest::addColumn<QString>("series");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("value");
        const int thisCycle = int(Range::ThisCycle);
        QTest::newRow("day received") << thisCycle << int(Chart::Days) << "received" << 1 << 2.4;
        QTest::newRow("day cost") << thisCycle << int(Chart::Days) << "cost" << 1 << 4.9;
        QTest::newRow("used by today") << thisCycle << int(Chart::Days) << "used" << 23 << 2.7;
        QTest::newRow("allowance") << thisCycle << int(Chart::Days) << "allowance" << 1 << 2.0;
        QTest::newRow("projection") << thisCycle << int(Chart::Days) << "projection" << 1 << 3.375;
        const int twelve = int(Range::LastTwelveCycles);
        QTest::newRow("cycle received") << twelve << int(Chart::Cycles) << "received" << 11 << 2.6;
        QTest::newRow("hour") << thisCycle << int(Chart::Hours) << "received" << 23 << 1.0;
        QTest::newRow("top day on top")
            << thisCycle << int(Chart::TopDays) << "received" << 1 << 2.4;
    }

    void seriesValues()
    {
        QFETCH(int, range);
        QFETCH(int, chart);
        QFETCH(QString, series);
        QFETCH(int, index);
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range(range));
        QVERIFY(dlg);
        const QList<double> values = Values(dlg->Chart(Chart(chart)), series);
        QVERIFY2(index < values.size(), qPrintable(QString::number(values.size())));
        QTEST(values.at(index), "value");
    }

    void toolAgreesWithTheWindow_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("chart");
        QTest::newRow("daily") << "daily" << int(Range::ThisCycle) << int(Chart::Days);
        QTest::newRow("daily, all") << "daily" << int(Range::All) << int(Chart::Days);
        QTest::newRow("monthly") << "monthly" << int(Range::LastTwelveCycles) << int(Chart::Cycles);
    }

    void toolAgreesWithTheWindow()
    {
        QFETCH(QString, command);
        QFETCH(int, range);
        QFETCH(int, chart);
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range(range));
        QVERIFY(dlg);
        dlg->ShowChart(Chart(chart));
        const QString path = m_dir->filePath(QStringLiteral("figures.csv"));
        QVERIFY(dlg->SaveCsv(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(Cli({command, QStringLiteral("--csv"), QStringLiteral("--date=2026-12-08"),
                      QStringLiteral("--range"), CUsageStatistics::RangeName(Range(range))}),
                 saved.readAll());
    }

    void emptyAndOddLogs_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<bool>("empty");
        QTest::newRow("no log") << QByteArray() << true;
        QTest::newRow("broken line") << QByteArray("garbled|10:5\n") << true;
        QTest::newRow("years ago") << QByteArray(kLog).replace("2026", "1996") << true;
        QTest::newRow("one call") << QByteArray(kLog).right(72) << false;
    }

    void emptyAndOddLogs()
    {
        QFETCH(QByteArray, log);
        if (log.isEmpty())
            QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("logs/logfile.log"))));
        else
            WriteLog(log);
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range::ThisCycle);
        QVERIFY(dlg);
        QFETCH(bool, empty);
        QCOMPARE(dlg->Message() == QStringLiteral("No calls in this range"), empty);
        for (int chart = 0; chart < CStatisticsCharts::kChartCount; ++chart)
            QVERIFY(!dlg->Chart(Chart(chart))->series().isEmpty());
    }

    // Too many days for bars: lines of the busiest day of each stretch, the peak kept.
    void manyDaysBecomeLines()
    {
        QByteArray log;
        for (int day = 0; day < 801; ++day) {
            const QByteArray date =
                QDate(2020, 1, 1).addDays(day).toString(u"dd-MM-yyyy").toLatin1();
            log += date + "|10:00:00|" + date + "|10:01:00|anna|Modem|Office|0|" +
                   QByteArray::number((day % 100) * 1000000) + "|\n";
        }
        WriteLog(log);
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range::All);
        QVERIFY(dlg);
        const QList<double> received = Values(dlg->Chart(Chart::Days), QStringLiteral("received"));
        QCOMPARE(received.size(), 267);
        QCOMPARE(*std::max_element(received.begin(), received.end()), 99.0);
    }

    void followsThePalette_data()
    {
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::newRow("light") << QColor(Qt::white) << QColor(0x20, 0x20, 0x20);
        QTest::newRow("dark") << QColor(0x24, 0x24, 0x24) << QColor(0xe8, 0xe8, 0xe8);
    }

    void followsThePalette()
    {
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range::ThisCycle);
        QVERIFY(dlg);
        QPalette palette = dlg->palette();
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        dlg->setPalette(palette);
        for (int index = 0; index < CStatisticsCharts::kChartCount; ++index) {
            QChart* chart = dlg->Chart(Chart(index));
            const QColor background = chart->backgroundBrush().color();
            QCOMPARE(background, base);
            QVERIFY(CStatisticsCharts::Contrast(chart->legend()->labelColor(), background) >= 4.5);
            for (QAbstractAxis* axis : chart->axes())
                QVERIFY(CStatisticsCharts::Contrast(axis->labelsBrush().color(), background) >=
                        4.5);
        }
    }

    void remembersItsSizeAndLetsGoOfTheFigures()
    {
        {
            const std::unique_ptr<CStatisticsDlg> dlg = Open(Range::ThisCycle);
            QVERIFY(dlg);
            QVERIFY(dlg->Statistics());
            dlg->resize(900, 600);
            dlg->reject();
            QVERIFY(!dlg->Statistics());
            QVERIFY(dlg->Chart(Chart::Days)->series().isEmpty());
        }
        CStatisticsDlg again(*m_store);
        QCOMPARE(again.size(), QSize(900, 600));
    }

    void exportsThePicture()
    {
        const std::unique_ptr<CStatisticsDlg> dlg = Open(Range::ThisCycle);
        QVERIFY(dlg);
        dlg->resize(640, 400);
        const QString path = m_dir->filePath(QStringLiteral("chart.png"));
        QVERIFY(dlg->SavePng(path));
        QVERIFY(!QImage(path).isNull());
        CScriptedMessageBox boxes;
        QVERIFY(!dlg->SaveCsv(m_dir->filePath(QStringLiteral("no/such/folder.csv"))));
        QCOMPARE(boxes.Shown().size(), 1);
    }
};

QTEST_MAIN(TestStatisticsDlg)
#include "tst_statisticsdlg.moc"
