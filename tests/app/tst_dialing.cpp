#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/gui/compositionroot.h"
#include "app/gui/maindlg.h"
#include "common/settingsstore.h"
#include "common/username.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/dialsession.h"
#include "dialer/gui/dialdlg.h"
#include "monitor/connectionmonitor.h"

#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// "Connect" as a user presses it: the dial window dials the default connection of the
// simulator, the monitor sees and logs the call, "Hangup" ends it.
class TestDialing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qunsetenv("DBUS_SESSION_BUS_ADDRESS"); }
    void connectDialsAndHangupEndsTheCall();
};

void TestDialing::connectDialsAndHangupEndsTheCall()
{
    CTestClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 5, 10)));
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath(u"ov.ini"_s));
    store.Write(Keys::ConfirmHangup, 0);
    store.Write(Keys::DefaultCon, u"Work"_s);
    store.Write(Keys::EntryUser(u"Work"_s), u"alice"_s);
    store.Write(Keys::EntryPassword(u"Work"_s), u"s3cret"_s);
    const QString simFile = dir.filePath(u"simulator.ini"_s);
    CSettingsStore(simFile).WriteInt(u"Dial"_s, u"StepMs"_s, 1);
    CPlatform platform;
    platform.credentials = std::make_unique<CCredentialStore>(&store);
    platform.remoteAccess = std::make_unique<CSimRemoteAccess>(simFile);
    platform.sound = std::make_unique<CRecordingSound>();
    {
        CCompositionRoot root(store, std::move(platform));
        CMainDlg& dlg = root.Window();
        CConnectionMonitor& monitor = root.Monitor();
        root.Open();

        root.Router().Run(CCommandTable::Connect);
        QTRY_VERIFY(CDialDlg::Current());
        QPointer<CDialDlg> window = CDialDlg::Current();
        QCOMPARE(dlg.Messages().first(), u"Connecting..."_s);
        QCOMPARE(window->StatusText(), u"Connecting to Work..."_s);
        QStringList shown;
        connect(window->Session(), &CDialSession::Changed, this,
                [&shown, window] { shown << window->StatusText(); });
        window->Session()->AttemptTimer().start(0);
        QTRY_VERIFY(!window);
        QVERIFY(shown.contains(u"Verifying the user name and password..."_s));

        monitor.Poll();
        QCOMPARE(dlg.Messages().first(), u"Connection Work detected"_s);
        clock.AdvanceSecs(42);
        monitor.Poll();
        root.Router().Run(CCommandTable::Hangup);
        QTRY_VERIFY(monitor.UserHungUp() || !monitor.Connected());
        clock.AdvanceSecs(1);
        monitor.Poll();
        QVERIFY(!monitor.Connected());
    }
    QFile log(dir.filePath(u"logfile.log"_s));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString line = QString::fromUtf8(log.readAll());
    QVERIFY2(line.startsWith(u"07-12-2026|21:05:10|07-12-2026|21:05:5"_s), qPrintable(line));
    QVERIFY(line.contains(u"|%1|Simulated modem|Work|"_s.arg(CUserName::Current())));
    QCOMPARE(line.count(u'\n'), 1);
    QVERIFY(boxes.Shown().isEmpty());
}

QTEST_MAIN(TestDialing)
#include "tst_dialing.moc"
