#include "app/gui/compositionroot.h"
#include "app/gui/maindlg.h"
#include "billing/logreader.h"
#include "billing/reportrow.h"
#include "billing/summarytext.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorscript.h"
#include "monitor/callstatus.h"
#include "monitor/connectionmonitor.h"
#include "monitor/counterworker.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// A simulated call that carries more than 4 GiB each way, through the whole program: the
// window and the status follow it without ever going back, the log gets its true counts,
// and the summary and the report show them.
class TestLargeCall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("DBUS_SESSION_BUS_ADDRESS"); }
    void callOfMoreThan5GBIsCountedInFull();
};

void TestLargeCall::callOfMoreThan5GBIsCountedInFull()
{
    CTestClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 5, 10)));
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath(u"ov.ini"_s));
    const QString simFile = dir.filePath(u"simulator.ini"_s);
    CSimulatorScript script(simFile);
    QString message;
    QVERIFY2(script.Run(u"rate 900000000 800000000"_s, message), qPrintable(message));

    CPlatform platform;
    platform.credentials = std::make_unique<CCredentialStore>(&store);
    platform.remoteAccess = std::make_unique<CSimRemoteAccess>(simFile);
    auto worker = std::make_unique<CCounterWorker>(platform.remoteAccess.get());
    QVERIFY(worker->Start());
    worker->SetQueryEnabled(true);
    CCounterWorker* counters = worker.get();
    platform.counters = std::move(worker);
    platform.sound = std::make_unique<CRecordingSound>();
    {
        CCompositionRoot root(store, std::move(platform));
        CConnectionMonitor& monitor = root.Monitor();
        root.Open();
        QTRY_VERIFY(!counters->Busy());

        QVERIFY2(script.Run(u"connect Home ISP"_s, message), qPrintable(message));
        monitor.Poll();
        QVERIFY(monitor.Connected());
        QTRY_VERIFY(!counters->Busy());
        // Six seconds at 900 MB/s in and 800 MB/s out, then the line falls silent.
        CCallStatus last = monitor.Status();
        for (int second = 1; second <= 7; ++second) {
            if (second == 7)
                QVERIFY2(script.Run(u"rate 0 0"_s, message), qPrintable(message));
            clock.AdvanceSecs(1);
            monitor.Poll();
            QTRY_VERIFY(!counters->Busy());
            const CCallStatus status = monitor.Status();
            QVERIFY2(status.received >= last.received && status.sent >= last.sent,
                     qPrintable(QString::fromLatin1(status.ToJson())));
            last = status;
        }
        QCOMPARE(last.received, qint64(5400000000));
        QCOMPARE(last.sent, qint64(4800000000));
        QVERIFY(last.ToJson().contains("\"received\":5400000000"));
        QCOMPARE(root.Window().Values().mid(1, 2), (QStringList{u"5400000000"_s, u"4800000000"_s}));

        QVERIFY2(script.Run(u"drop"_s, message), qPrintable(message));
        clock.AdvanceSecs(1);
        monitor.Poll();
        QVERIFY(!monitor.Connected());
    }
    const QString logPath = dir.filePath(u"logfile.log"_s);
    QFile log(logPath);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray line = log.readAll();
    QVERIFY2(line.endsWith("|Simulated modem|Home ISP|4800000000|5400000000|\n"), line.constData());

    const CTotals totals = CTotals::Compute(store, CTotals::All, logPath);
    QCOMPARE(totals.uploaded, qint64(4800000000));
    QCOMPARE(totals.downloaded, qint64(5400000000));
    const QList<CSummaryText::Line> lines = CSummaryText::Lines(totals);
    QCOMPARE(lines.at(5).value, u"4800000000"_s);
    QCOMPARE(lines.at(6).value, u"5400000000"_s);
    QCOMPARE(lines.at(7).value, u"10200000000"_s);

    CLogRecord record;
    QVERIFY(CLogReader::ParseLine(QByteArrayView(line).chopped(1), record));
    const QStringList columns = CReportRow::Columns(record, CTariff());
    QCOMPARE(columns.mid(7, 2), (QStringList{u"4800000000"_s, u"5400000000"_s}));
    QVERIFY(boxes.Shown().isEmpty());
}

QTEST_MAIN(TestLargeCall)
#include "tst_largecall.moc"
