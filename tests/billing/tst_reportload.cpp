#include "billing/gui/reportdlg.h"
#include "billing/gui/reportmodel.h"
#include "common/settingsstore.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A call per day from 1 January 2000 on, the user field holding its number (1 is the
// oldest).
QByteArray NumberedLog(int count)
{
    QByteArray log;
    const QDate first(2000, 1, 1);
    for (int i = 1; i <= count; ++i) {
        const QByteArray date = first.addDays(i % 3000).toString(u"dd-MM-yyyy").toLatin1();
        log += date + "|10:00:00|" + date + "|10:05:00|u" + QByteArray::number(i) +
               "|Modem|Office|" + QByteArray::number(i * 10) + "|" + QByteArray::number(i * 100) +
               "|\n";
    }
    return log;
}

} // namespace

// The report window reading a large log on a thread of its own.
class TestReportLoad : public QObject {
    Q_OBJECT

private:
    void WriteLog(const QByteArray& data)
    {
        QFile file(m_log);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), data.size());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    QString m_log;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_store = std::make_unique<CSettingsStore>(m_dir->filePath(QStringLiteral("ov.ini")));
        m_store->Write(Keys::IniPath, m_dir->path());
        m_store->Write(Keys::CostPerMinute, QStringLiteral("0.6000000000"));
        m_log = m_dir->filePath(QStringLiteral("logfile.log"));
    }

    void cleanup()
    {
        m_store.reset();
        m_dir.reset();
    }

    // A large log is read on a thread of its own: the window is there at once with a
    // progress bar, and the event loop never stops for long while the log loads.
    void largeLogLoadsInTheBackground()
    {
        const int count = 200'000;
        WriteLog(NumberedLog(count));
        QVERIFY(QFile(m_log).size() > CReportDlg::kBackgroundLoadBytes);

        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longest = 0;
        QTimer ticker;
        ticker.setInterval(50);
        connect(&ticker, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            longest = qMax(longest, now - last);
            last = now;
        });
        clock.start();
        ticker.start();

        CReportDlg dlg(*m_store);
        QSignalSpy loaded(&dlg, &CReportDlg::Loaded);
        QVERIFY(dlg.Loading());
        QVERIFY(dlg.LoadThread());
        QVERIFY(dlg.LoadThread() != QThread::currentThread());
        auto* progress = dlg.findChild<QProgressBar*>(QStringLiteral("reportProgress"));
        QVERIFY(progress);
        QVERIFY(!progress->isHidden());
        dlg.show();
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 60000);
        // The first paint of the rows, and one more turn of the loop after it.
        const qint64 loadedAt = clock.elapsed();
        QTRY_VERIFY(last > loadedAt);
        QVERIFY2(longest < 500, qPrintable(QStringLiteral("%1 ms").arg(longest)));

        QVERIFY(!dlg.Loading());
        QVERIFY(progress->isHidden());
        QCOMPARE(dlg.Model().LineCount(), count);
        QCOMPARE(dlg.Model().RowTexts(0).at(4), QStringLiteral("u%1").arg(count));
        QCOMPARE(dlg.Model().RowTexts(count - 1).at(4), QStringLiteral("u1"));
    }

    // Closing the window while its log is read: the read ends, nothing reaches the window
    // that has gone, the thread cleans up after itself.
    void closingWhileLoadingIsSafe()
    {
        WriteLog(NumberedLog(200'000));
        auto* dlg = new CReportDlg(*m_store);
        dlg->setAttribute(Qt::WA_DeleteOnClose);
        dlg->show();
        const QPointer<QThread> thread = dlg->LoadThread();
        QVERIFY(thread);
        QVERIFY(thread->isRunning());
        dlg->close();
        QTRY_VERIFY_WITH_TIMEOUT(thread.isNull(), 60000);

        // And deleted at once, before its close reached the event loop.
        auto* direct = new CReportDlg(*m_store);
        const QPointer<QThread> second = direct->LoadThread();
        delete direct;
        QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 60000);
    }
};

QTEST_MAIN(TestReportLoad)
#include "tst_reportload.moc"
