#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The worked-example tariff: 0.10 per dial, 0.60 and 0.30 per minute, cheap from 23:00
// to 05:59 and at weekends, a minimum of one minute and one-minute blocks.
const char* const kExampleTariff = "[Price]\n"
                                   "PricePerDial=0.1000000000\n"
                                   "CostPerMinute=0.6000000000\n"
                                   "CheapCostPerMinute=0.3000000000\n"
                                   "CheapTimeStart=23:00\n"
                                   "CheapTimeEnd=05:59\n"
                                   "MinConTime=00:01\n"
                                   "ConnectionBlock=00:01\n"
                                   "[Settings]\n"
                                   "CheapInSat=1\n"
                                   "CheapInSun=1\n";

const char* const kExampleLog =
    "14-06-2000|14:20:00|14-06-2000|14:27:30|anna|Modem|Office|100|1000|\n"
    "16-06-2000|23:50:00|17-06-2000|00:10:00|anna|Modem|Office|200|2000|\r\n"
    "17-06-2000|12:00:00|17-06-2000|12:02:00|bert|Modem|Home|300|3000|\n";

} // namespace

class TstCli : public QObject {
    Q_OBJECT

private slots:
    void init();

    void pricesTheWorkedExamples_data();
    void pricesTheWorkedExamples();
    void summaryOfTheConfiguredLog();
    void summaryThisMonthTakesOffTheAllowance();
    void summaryTodayAndMissingLog();
    void reportIsNewestFirstTabSeparated();
    void reportCsvQuotes();
    void dailyAndMonthly();
    void badArgumentsExitWithTwo_data();
    void badArgumentsExitWithTwo();
    void helpAndUnreadableLog();
    void specialFileAsLogEndsWithOne_data();
    void specialFileAsLogEndsWithOne();

private:
    void WriteSettings(const QByteArray& extra);
    void WriteLog(const QByteArray& data);
    Result Run(const QStringList& args);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_ini;
    QString m_log;
};

void TstCli::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("config/orvalis")));
    m_ini = m_dir->filePath(QStringLiteral("config/orvalis/ov.ini"));
    m_log = m_dir->filePath(QStringLiteral("logs/logfile.log"));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("logs")));
    WriteSettings(kExampleTariff);
}

void TstCli::WriteSettings(const QByteArray& extra)
{
    QFile file(m_ini);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(extra);
    file.write("\n[Settings]\nIniPath=" + QFileInfo(m_log).absolutePath().toUtf8() + "\n");
}

void TstCli::WriteLog(const QByteArray& data)
{
    QFile file(m_log);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

Result TstCli::Run(const QStringList& args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(ORVALIS_CLI_PATH), args);
    Result result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TstCli::pricesTheWorkedExamples_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("wednesday") << QStringList{"14-06-2000", "14:20:00", "14:27:30"}
                               << QByteArray("480 normal 4.90\n");
    QTest::newRow("friday night") << QStringList{"16-06-2000", "23:50:00", "00:10:00"}
                                  << QByteArray("1200 cheap 6.10\n");
    QTest::newRow("window start is normal")
        << QStringList{"16-06-2000", "23:00:00", "23:00:20"} << QByteArray("60 normal 0.70\n");
    QTest::newRow("saturday") << QStringList{"17-06-2000", "12:00:00", "12:02:00"}
                              << QByteArray("120 cheap 0.70\n");
    QTest::newRow("sunday to monday")
        << QStringList{"18-06-2000", "23:59:59", "00:30:00"} << QByteArray("1860 cheap 9.40\n");
}

void TstCli::pricesTheWorkedExamples()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, line);
    const QByteArray before = QFile(m_ini).exists() ? QByteArray() : QByteArray("missing");
    const Result result = Run(QStringList{QStringLiteral("price")} + args);
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, line);
    QVERIFY(result.err.isEmpty());
    QVERIFY(before.isEmpty());
}

void TstCli::summaryOfTheConfiguredLog()
{
    WriteLog(kExampleLog);
    QFile ini(m_ini);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray settingsBefore = ini.readAll();
    ini.close();
    const QDateTime modifiedBefore = QFileInfo(m_ini).lastModified();

    const Result result = Run({QStringLiteral("summary")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("Connections: 3\n"
                                    "Total time online: 00:29:30\n"
                                    "Total cost: 11.70\n"
                                    "Average cost per connection: 3.90\n"
                                    "Average connection length: 00:09:50\n"
                                    "Total data uploaded: 600\n"
                                    "Total data downloaded: 6000\n"
                                    "Total data transmitted: 6600\n"));

    // The same through --log and an explicit filter; the settings are never written.
    const Result explicitLog = Run({QStringLiteral("summary"), QStringLiteral("--filter"),
                                    QStringLiteral("all"), QStringLiteral("--log"), m_log});
    QCOMPARE(explicitLog.exitCode, 0);
    QCOMPARE(explicitLog.out, result.out);
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll(), settingsBefore);
    QCOMPARE(QFileInfo(m_ini).lastModified(), modifiedBefore);
}

void TstCli::summaryThisMonthTakesOffTheAllowance()
{
    // One call this month priced 2.00 (228 s at 0.50 per minute plus 0.10), a free hour.
    WriteSettings("[Price]\nPricePerDial=0.1\nCostPerMinute=0.5\nFreeMonthTime=01:00\n"
                  "[Settings]\nSummaryWhen=1\n");
    const QByteArray today = QDate::currentDate().toString(u"dd-MM-yyyy").toLatin1();
    WriteLog(today + "|10:00:00|" + today + "|10:03:48|u|d|i|1|2|\n");

    const Result stored = Run({QStringLiteral("summary")});
    QCOMPARE(stored.exitCode, 0);
    QVERIFY2(stored.out.contains("\nTotal cost: -28.10\n"), stored.out);
    QVERIFY2(stored.out.contains("\nAverage cost per connection: -28.10\n"), stored.out);

    const Result all = Run({QStringLiteral("summary"), QStringLiteral("--filter=all")});
    QVERIFY2(all.out.contains("\nTotal cost: 2.00\n"), all.out);
}

void TstCli::summaryTodayAndMissingLog()
{
    const QDate now = QDate::currentDate();
    const QByteArray today = now.toString(u"dd-MM-yyyy").toLatin1();
    const QByteArray otherDay =
        now.addDays(now.day() == 1 ? 1 : -1).toString(u"dd-MM-yyyy").toLatin1();
    const QByteArray sameDayLastYear = now.addYears(-1).toString(u"dd-MM-yyyy").toLatin1();
    WriteLog(today + "|10:00:00|" + today + "|10:01:00|u|d|i|1|2|\n" + otherDay +
             "|10:00:00|x|10:01:00|u|d|i|1|2|\n" + sameDayLastYear +
             "|10:00:00|x|10:01:00|u|d|i|1|2|\n");
    const Result result =
        Run({QStringLiteral("summary"), QStringLiteral("--filter"), QStringLiteral("today")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.startsWith("Connections: 2\n"), result.out);

    // No log yet: every value is zero.
    QVERIFY(QFile::remove(m_log));
    const Result empty = Run({QStringLiteral("summary")});
    QCOMPARE(empty.exitCode, 0);
    QCOMPARE(empty.out, QByteArray("Connections: 0\n"
                                   "Total time online: 00:00:00\n"
                                   "Total cost: 0.00\n"
                                   "Average cost per connection: 0\n"
                                   "Average connection length: 00:00:00\n"
                                   "Total data uploaded: 0\n"
                                   "Total data downloaded: 0\n"
                                   "Total data transmitted: 0\n"));
}

void TstCli::reportIsNewestFirstTabSeparated()
{
    WriteLog(QByteArray(kExampleLog) + "\n|||\n18-06-2000|10:00:00|x|10:00:40||tab\there|i|5|\n");
    const Result result = Run({QStringLiteral("report")});
    QCOMPARE(result.exitCode, 0);
    const QList<QByteArray> lines = result.out.split('\n');
    QCOMPARE(lines.size(), 6); // heading, four rows, the empty text after the last break
    QCOMPARE(lines[0], QByteArray("Date\tStart time\tEnd time\tDuration\tUser\tDevice\tISP\t"
                                  "Uploaded\tDownloaded\tPrice"));
    // The empty user moves the later fields up; the tab in a field becomes a blank.
    QCOMPARE(lines[1],
             QByteArray("18-06-2000\t10:00:00\t10:00:40\t00:00:40\ttab here\ti\t5\t\t\t0.40"));
    QCOMPARE(lines[2], QByteArray("17-06-2000\t12:00:00\t12:02:00\t00:02:00\tbert\tModem\tHome\t"
                                  "300\t3000\t0.70"));
    QCOMPARE(lines[3], QByteArray("16-06-2000\t23:50:00\t00:10:00\t00:20:00\tanna\tModem\tOffice\t"
                                  "200\t2000\t6.10"));
    QCOMPARE(lines[4], QByteArray("14-06-2000\t14:20:00\t14:27:30\t00:07:30\tanna\tModem\tOffice\t"
                                  "100\t1000\t4.90"));
    QVERIFY(lines[5].isEmpty());
}

void TstCli::dailyAndMonthly()
{
    WriteLog(kExampleLog);
    Result result = Run({QStringLiteral("monthly"), QStringLiteral("--range=all")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, QByteArray("cycle_start\tcycle_end\tcalls\treceived\tsent\tcounted\t"
                                    "allowance\tcost\n"
                                    "2000-06-01\t2000-06-30\t3\t6000\t600\t6600\t0\t11.70\n"));
    // The cycle that holds the day, every day of it.
    result = Run({QStringLiteral("daily"), QStringLiteral("--csv"), QStringLiteral("--date"),
                  QStringLiteral("2000-06-20")});
    QCOMPARE(result.exitCode, 0);
    const QList<QByteArray> lines = result.out.split('\n');
    QCOMPARE(lines.size(), 32);
    QCOMPARE(lines[17], QByteArray("2000-06-17,1,3000,300,3300,0.70\r"));
}

void TstCli::reportCsvQuotes()
{
    WriteLog("14-06-2000|14:20:00|14-06-2000|14:27:30|a,\"b\"|Modem \"56k\"|plain|1|2|\n");
    const Result result =
        Run({QStringLiteral("report"), QStringLiteral("--csv"), QStringLiteral("--log"), m_log});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out,
             QByteArray("Date,Start time,End time,Duration,User,Device,ISP,Uploaded,Downloaded,"
                        "Price\r\n"
                        "14-06-2000,14:20:00,14:27:30,00:07:30,\"a,\"\"b\"\"\",\"Modem "
                        "\"\"56k\"\"\",plain,1,2,4.90\r\n"));
}

void TstCli::badArgumentsExitWithTwo_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("unknown command") << QStringList{"totals"};
    QTest::newRow("unknown filter") << QStringList{"summary", "--filter", "week"};
    QTest::newRow("filter without value") << QStringList{"summary", "--filter"};
    QTest::newRow("log without value") << QStringList{"report", "--log"};
    QTest::newRow("log twice") << QStringList{"report", "--log", "a", "--log=b"};
    QTest::newRow("csv for summary") << QStringList{"summary", "--csv"};
    QTest::newRow("stray argument") << QStringList{"report", "extra"};
    QTest::newRow("price missing time") << QStringList{"price", "14-06-2000", "10:00:00"};
    QTest::newRow("price no date") << QStringList{"price", "31-02-2000", "10:00:00", "10:01:00"};
    QTest::newRow("price date form") << QStringList{"price", "1-6-2000", "10:00:00", "10:01:00"};
    QTest::newRow("price bad time") << QStringList{"price", "14-06-2000", "24:00:00", "10:01:00"};
    QTest::newRow("price bad end") << QStringList{"price", "14-06-2000", "10:00:00", "10:61:00"};
}

void TstCli::badArgumentsExitWithTwo()
{
    QFETCH(QStringList, args);
    const Result result = Run(args);
    QCOMPARE(result.exitCode, 2);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.startsWith("orvalis-cli: "));
    QVERIFY(result.err.contains("--help"));
}

void TstCli::helpAndUnreadableLog()
{
    const Result help = Run({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Usage: orvalis-cli"));
    QVERIFY(help.out.contains("price DD-MM-YYYY HH:MM:SS HH:MM:SS"));
    const Result version = Run({QStringLiteral("--version")});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QByteArray("orvalis-cli " ORVALIS_VERSION "\n"));

    const QString missing = m_dir->filePath(QStringLiteral("no-such.log"));
    const Result result = Run({QStringLiteral("summary"), QStringLiteral("--log"), missing});
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    QVERIFY(result.err.contains(missing.toUtf8()));
}

void TstCli::specialFileAsLogEndsWithOne_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe nobody writes to") << QStringLiteral("fifo");
    QTest::newRow("link to /dev/zero") << QStringLiteral("zero");
    QTest::newRow("folder") << QStringLiteral("folder");
}

void TstCli::specialFileAsLogEndsWithOne()
{
    QFETCH(QString, kind);
    if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(m_log).constData(), 0600), 0);
    else if (kind == u"zero")
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), m_log));
    else
        QVERIFY(QDir().mkdir(m_log));
    const QByteArray message = "orvalis-cli: " + m_log.toUtf8() + " is not a regular file\n";

    // Named on the command line, and as the configured log.
    for (const QStringList& args :
         {QStringList{"summary", "--log", m_log}, QStringList{"report", "--csv", "--log=" + m_log},
          QStringList{"summary", "--filter=all"}, QStringList{"report"}}) {
        const Result result = Run(args);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.out.isEmpty());
        QCOMPARE(result.err, message);
    }
}

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
