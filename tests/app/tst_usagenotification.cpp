#include "app/gui/compositionroot.h"
#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "monitor/connectionmonitor.h"
#include "monitor/desktopnotifier.h"
#include "monitor/interfacecounters.h"
#include "monitor/trafficcounters.h"

#include "support/monitorfakes.h"
#include "support/notificationserver.h"
#include "support/scriptedmessagebox.h"
#include "support/testclock.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The simulator's byte counters, read at each trigger on the test's thread.
class CSimCounters : public CTrafficCounters {
public:
    CSimCounters(CRemoteAccess& remote, const QString& noKernel)
        : m_counters(&remote, noKernel)
    {}
    void SetInterface(const QString& name) override { m_interface = name; }
    void Trigger() override { m_counters.Update(m_interface); }
    qint64 SentBytes() const override { return m_counters.SentBytes(); }
    qint64 ReceivedBytes() const override { return m_counters.ReceivedBytes(); }
    void Cancel() override {}
    bool Busy() const override { return false; }

private:
    CInterfaceCounters m_counters;
    QString m_interface;
};

} // namespace

// A data plan's warning crossed during a simulated call: one desktop notification with a
// "Hang up" button that hangs up, or the program's own box when no notification server runs.
class TestUsageNotification : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (const QString missing = CNotificationServer::MissingTools(); !missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(m_server.StartBus());
    }
    void warningDuringACall_data();
    void warningDuringACall();

private:
    // Sent after the program's messages on the same connection: once it is answered, the
    // server has seen all of them.
    void Settle();

    CNotificationServer m_server;
};

void TestUsageNotification::warningDuringACall_data()
{
    QTest::addColumn<bool>("server");
    QTest::newRow("notification server") << true;
    QTest::newRow("no notification server") << false;
}

void TestUsageNotification::warningDuringACall()
{
    QFETCH(bool, server);
    if (server)
        QVERIFY(m_server.StartServer());
    else
        m_server.StopServer();
    m_server.notifications.clear();
    m_server.closed.clear();

    CTestClock clock(QDateTime(QDate(2026, 12, 7), QTime(21, 5, 10)));
    CScriptedMessageBox boxes;
    QTemporaryDir dir;
    CSettingsStore store(dir.filePath(u"ov.ini"_s));
    store.Write(Keys::ConfirmHangup, 0);
    store.Write(Keys::Allowance, u"2"_s);
    store.Write(Keys::WarnAt, u"80"_s);
    const QString simFile = dir.filePath(u"simulator.ini"_s);
    CSettingsStore sim(simFile);
    sim.Write(SimKeys::RateIn, 100000000);
    sim.Write(SimKeys::RateOut, 0);

    CPlatform platform;
    platform.credentials = std::make_unique<CCredentialStore>(&store);
    platform.remoteAccess = std::make_unique<CSimRemoteAccess>(simFile);
    platform.counters =
        std::make_unique<CSimCounters>(*platform.remoteAccess, dir.filePath(u"no-net"_s));
    platform.sound = std::make_unique<CRecordingSound>();
    platform.notifier = std::make_unique<CDesktopNotifier>(m_server.ClientBus());
    CCompositionRoot root(store, std::move(platform));
    CConnectionMonitor& monitor = root.Monitor();
    root.Open();

    // The line comes up and carries 100 MB a second: 75 %, then 85 %, then 90 %.
    sim.Write(SimKeys::Connected, u"Work"_s);
    monitor.Poll();
    QVERIFY(monitor.Connected());
    for (const int seconds : {15, 2, 1}) {
        clock.AdvanceSecs(seconds);
        monitor.Poll();
    }
    QCOMPARE(monitor.Usage().received, qint64(1800000000));
    Settle();

    const QString summary = u"80 % of your data used"_s;
    const QString body = u"1.70 GB of 2.00 GB used, 25 day(s) left in this cycle"_s;
    if (!server) {
        QTRY_COMPARE(boxes.Shown().size(), 1);
        QCOMPARE(boxes.Shown()[0].text, summary + u'\n' + body);
        QVERIFY(m_server.notifications.isEmpty());
        return;
    }
    QCOMPARE(m_server.notifications.size(), 1);
    const CNotificationServer::Notification shown = m_server.notifications.first();
    QCOMPARE(shown.appName, u"Orvalis"_s);
    QCOMPARE(shown.summary, summary);
    QCOMPARE(shown.body, body);
    QCOMPARE(shown.actions, (QStringList{u"hangup"_s, u"Hang up"_s}));
    QVERIFY(boxes.Shown().isEmpty());

    // "Hang up" on the notification ends the call, which takes the notification back.
    m_server.InvokeAction(shown.id, u"hangup"_s);
    QTRY_VERIFY(monitor.UserHungUp());
    clock.AdvanceSecs(1);
    monitor.Poll();
    QVERIFY(!monitor.Connected());
    QTRY_COMPARE(m_server.closed, QList<uint>{shown.id});
    QCOMPARE(m_server.notifications.size(), 1);
}

void TestUsageNotification::Settle()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(CDesktopNotifier::kService),
        QString::fromLatin1(CDesktopNotifier::kPath),
        QString::fromLatin1(CDesktopNotifier::kInterface), u"GetServerInformation"_s);
    const QDBusPendingCall answer = m_server.ClientBus().asyncCall(call);
    QTRY_VERIFY(answer.isFinished());
}

QTEST_MAIN(TestUsageNotification)
#include "tst_usagenotification.moc"
