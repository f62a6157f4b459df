#include "dialer/backends/networkmanager/networkmanageraccess.h"
#include "dialer/backends/networkmanager/nmdialprogress.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Step = CNmDialProgress::Step;

Q_DECLARE_METATYPE(CNmDialProgress::Step)

char* toString(const CNmDialProgress::Step& step)
{
    const QByteArray text =
        QByteArray::number(step.state, 16) + '/' + QByteArray::number(step.error);
    return qstrdup(text.constData());
}

namespace {

constexpr unsigned kBusy = CRemoteAccess::ErrorLineBusy;

// The dial's first steps, which the device's preparation gives.
const std::initializer_list<unsigned> kPrepared = {
    CRemoteAccess::OpenPort, CRemoteAccess::PortOpened, CRemoteAccess::ConnectDevice};

QList<unsigned> Concat(std::initializer_list<unsigned> first, std::initializer_list<unsigned> rest)
{
    QList<unsigned> out(first);
    out.append(QList<unsigned>(rest));
    return out;
}

// The steps of the states, every one without an error but the last, which has error.
QList<Step> Steps(const QList<unsigned>& states, unsigned error = 0)
{
    QList<Step> out;
    for (unsigned state : states)
        out.append({state, 0});
    if (!out.isEmpty())
        out.last().error = error;
    return out;
}

// Plays a script of state changes: "d40" a device state, "d120/23" one with its reason,
// "a4/10" an active connection's state and reason, "x20002" a refusal before
// NetworkManager took the dial on.
QList<Step> Play(const QString& script)
{
    CNmDialProgress progress;
    QList<Step> out;
    for (const QString& word : script.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList parts = word.mid(1).split(u'/');
        const uint state = parts.value(0).toUInt();
        const uint reason = parts.value(1).toUInt();
        if (word.startsWith(u'd'))
            out += progress.OnDeviceState(state, reason);
        else if (word.startsWith(u'a'))
            out += progress.OnActiveState(state, reason);
        else
            out += progress.Fail(state);
    }
    return out;
}

} // namespace

class TestNmDialProgress : public QObject {
    Q_OBJECT

private slots:
    void stepsOfStates_data();
    void stepsOfStates();
    void endsAtTheFinalStep();
    void mapsReasons_data();
    void mapsReasons();
};

void TestNmDialProgress::stepsOfStates_data()
{
    using A = CRemoteAccess;
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<Step>>("steps");
    QTest::newRow("modem dial in order")
        << u"d40 d50 d60 d70 d80 d100"_s
        << Steps(Concat(kPrepared, {A::DeviceConnected, A::AllDevicesConnected, A::Authenticate,
                                    A::Authenticated, A::AuthProject, A::Projected, A::Connected}));
    QTest::newRow("checks and secondaries project once")
        << u"d40 d70 d80 d90 d100"_s
        << Steps(Concat(kPrepared, {A::Authenticated, A::AuthProject, A::Projected, A::Connected}));
    QTest::newRow("busy fails in the last state")
        << u"d40 d50 d60 d120/23"_s
        << Steps(Concat(kPrepared, {A::DeviceConnected, A::AllDevicesConnected, A::Authenticate,
                                    A::Authenticate}),
                 kBusy);
    QTest::newRow("no dial tone") << u"d40 d120/24"_s
                                  << Steps(Concat(kPrepared, {A::ConnectDevice}),
                                           A::ErrorNoDialTone);
    QTest::newRow("carrier lost once projected")
        << u"d40 d70 d80 d120/40"_s
        << Steps(Concat(kPrepared, {A::Authenticated, A::AuthProject, A::Projected, A::Projected}),
                 A::ErrorRemoteDisconnection);
    QTest::newRow("refused login: the connection's reason tells")
        << u"d40 d60 d120/1 a4/10"_s
        << Steps(Concat(kPrepared, {A::Authenticate, A::Authenticate}),
                 A::ErrorAuthenticationFailure);
    QTest::newRow("device failure without a better reason")
        << u"d40 d120/1 d30"_s
        << Steps(Concat(kPrepared, {A::ConnectDevice}),
                 CNetworkManagerAccess::ErrorActivationFailed);
    QTest::newRow("a failed device makes the end an error")
        << u"d40 d120/1 a4/3"_s
        << Steps(Concat(kPrepared, {A::ConnectDevice}),
                 CNetworkManagerAccess::ErrorActivationFailed);
    QTest::newRow("device goes down after preparing")
        << u"d40 d30"_s << Steps(Concat(kPrepared, {A::Disconnected}));
    QTest::newRow("disconnected device before anything: nothing") << u"d30"_s << QList<Step>();
    QTest::newRow("without a device: connected") << u"a1 a2"_s << Steps({A::Connected});
    QTest::newRow("without a device: hung up by the user")
        << u"a1 a4/2"_s << Steps({A::Disconnected});
    QTest::newRow("without a device: no reason") << u"a4/0"_s << Steps({A::Disconnected});
    QTest::newRow("without a device: missing secrets")
        << u"a4/9"_s << Steps({A::OpenPort}, CNetworkManagerAccess::ErrorNoSecrets);
    QTest::newRow("without a device: login failed")
        << u"a4/10"_s << Steps({A::OpenPort}, A::ErrorAuthenticationFailure);
    QTest::newRow("unknown states say nothing") << u"d10 d20 d110 a3"_s << QList<Step>();
    QTest::newRow("refused before it started")
        << u"x20002"_s << Steps({A::OpenPort}, CNetworkManagerAccess::ErrorServiceRefused);
    QTest::newRow("refused after the device prepared")
        << u"d40 d50 x20001"_s
        << Steps(Concat(kPrepared,
                        {A::DeviceConnected, A::AllDevicesConnected, A::AllDevicesConnected}),
                 CNetworkManagerAccess::ErrorNotRunning);
    QTest::newRow("nothing after connected")
        << u"d40 d100 d30 a4/2 d120/23"_s << Steps(Concat(kPrepared, {A::Connected}));
    QTest::newRow("nothing after a failure")
        << u"d40 d120/23 d30 a2"_s << Steps(Concat(kPrepared, {A::ConnectDevice}), kBusy);
}

void TestNmDialProgress::stepsOfStates()
{
    QFETCH(QString, script);
    QFETCH(QList<Step>, steps);
    QCOMPARE(Play(script), steps);
}

void TestNmDialProgress::endsAtTheFinalStep()
{
    CNmDialProgress progress;
    QVERIFY(!progress.Ended());
    progress.OnDeviceState(CNmDialProgress::DevicePrepare, 0);
    progress.OnDeviceState(CNmDialProgress::DeviceNeedAuth, 0);
    QCOMPARE(progress.LastState(), unsigned(CRemoteAccess::Authenticate));
    QVERIFY(!progress.Ended());
    // A failure whose reason says nothing waits for the connection's.
    QVERIFY(progress.OnDeviceState(CNmDialProgress::DeviceFailed, 1).isEmpty());
    QVERIFY(!progress.Ended());
    QCOMPARE(progress.OnActiveState(CNmDialProgress::ActiveDeactivated, 10),
             Steps({CRemoteAccess::Authenticate}, CRemoteAccess::ErrorAuthenticationFailure));
    QVERIFY(progress.Ended());
    QVERIFY(progress.Fail(1).isEmpty());
    QVERIFY(CNmDialProgress::IsFinal({CRemoteAccess::Connected, 0}));
    QVERIFY(CNmDialProgress::IsFinal({CRemoteAccess::Disconnected, 0}));
    QVERIFY(CNmDialProgress::IsFinal({CRemoteAccess::Projected, kBusy}));
    QVERIFY(!CNmDialProgress::IsFinal({CRemoteAccess::Projected, 0}));
}

void TestNmDialProgress::mapsReasons_data()
{
    QTest::addColumn<uint>("deviceReason");
    QTest::addColumn<uint>("activeReason");
    QTest::addColumn<int>("error");
    QTest::newRow("busy") << 23U << 3U << int(CRemoteAccess::ErrorLineBusy);
    QTest::newRow("no secrets") << 7U << 9U << int(CNetworkManagerAccess::ErrorNoSecrets);
    QTest::newRow("secrets by connection")
        << 0U << 9U << int(CNetworkManagerAccess::ErrorNoSecrets);
    QTest::newRow("login failed") << 1U << 10U << int(CRemoteAccess::ErrorAuthenticationFailure);
    QTest::newRow("dial failed") << 27U << 3U << int(CNetworkManagerAccess::ErrorDialFailed);
    QTest::newRow("PPP start") << 12U << 0U << int(CNetworkManagerAccess::ErrorPppStartFailed);
    QTest::newRow("PPP closed") << 13U << 0U << int(CNetworkManagerAccess::ErrorPppDisconnected);
    QTest::newRow("PPP failed") << 14U << 0U << int(CNetworkManagerAccess::ErrorPppFailed);
    QTest::newRow("no dial tone") << 24U << 0U << int(CRemoteAccess::ErrorNoDialTone);
    QTest::newRow("no carrier") << 25U << 0U << int(CRemoteAccess::ErrorNoCarrier);
    QTest::newRow("no answer") << 26U << 0U << int(CRemoteAccess::ErrorNoAnswer);
    QTest::newRow("modem init") << 28U << 0U << int(CRemoteAccess::ErrorHardwareFailure);
    QTest::newRow("carrier") << 40U << 0U << int(CRemoteAccess::ErrorRemoteDisconnection);
    QTest::newRow("user disconnected") << 0U << 2U << int(CRemoteAccess::ErrorUserDisconnection);
    QTest::newRow("unknown") << 1U << 1U << int(CNetworkManagerAccess::ErrorActivationFailed);
}

void TestNmDialProgress::mapsReasons()
{
    QFETCH(uint, deviceReason);
    QFETCH(uint, activeReason);
    QFETCH(int, error);
    QCOMPARE(CNmDialProgress::ErrorForReason(deviceReason, activeReason), error);
}

QTEST_GUILESS_MAIN(TestNmDialProgress)
#include "tst_nmdialprogress.moc"
