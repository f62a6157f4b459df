#include "support/keyringsession.h"
#include "support/nmmockbus.h"

#include "common/settingsstore.h"
#include "dialer/backends/networkmanager/networkmanageraccess.h"
#include "dialer/backends/networkmanager/nmsecretagent.h"
#include "dialer/backends/remoteaccessfactory.h"
#include "dialer/credentialstore.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Step {
    unsigned state;
    unsigned error;
    bool operator==(const Step&) const = default;
};

QList<Step> Steps(std::initializer_list<unsigned> states)
{
    QList<Step> out;
    for (unsigned state : states)
        out.append({state, 0});
    return out;
}

QMap<QString, QMap<QString, QString>> LastSecrets()
{
    const QDBusMessage reply = CNmMockBus::MockCall(u"GetLastSecrets"_s);
    QMap<QString, QMap<QString, QString>> out;
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        reply.arguments().constFirst().value<QDBusArgument>() >> out;
    return out;
}

// A notifier that keeps every (state, error) it is given.
CRemoteAccess::DialNotifier Recorder(QList<Step>& steps)
{
    return [&steps](unsigned state, unsigned error) { steps.append({state, error}); };
}

char* toString(const Step& step)
{
    const QByteArray text =
        QByteArray::number(step.state, 16) + '/' + QByteArray::number(step.error);
    return qstrdup(text.constData());
}

// How long the tests freeze NetworkManager. A short freeze shows the same as a long one
// (nothing waits for NetworkManager at all); ORVALIS_NM_FREEZE_MS runs them with another.
int FreezeMs()
{
    const int ms = qEnvironmentVariableIntValue("ORVALIS_NM_FREEZE_MS");
    return ms > 0 ? ms : 2000;
}

QDBusMessage ActivateProfile(const QString& profile)
{
    return CNmMockBus::Call(u"/org/freedesktop/NetworkManager"_s,
                            u"org.freedesktop.NetworkManager"_s, u"ActivateConnection"_s,
                            {QVariant::fromValue(QDBusObjectPath(profile)),
                             QVariant::fromValue(QDBusObjectPath(u"/"_s)),
                             QVariant::fromValue(QDBusObjectPath(u"/"_s))});
}

// NetworkManager's state of its only active connection; 0 when there is none.
uint ActiveState()
{
    const QStringList active = CNmMockBus::ActiveConnections();
    if (active.size() != 1)
        return 0;
    const QDBusMessage reply =
        CNmMockBus::Call(active.first(), u"org.freedesktop.DBus.Properties"_s, u"Get"_s,
                         {u"org.freedesktop.NetworkManager.Connection.Active"_s, u"State"_s});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt();
}

} // namespace

class TestNetworkManagerAccess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsDialUpAndMeteredProfiles();
    void followsProfileChanges();
    void dialConnectsWithStoredCredentials();
    void dialCredentialsComeBeforeStored();
    void agentAnswersFromKeyring();
    void agentAnswersLaterOrCancelled();
    void failedDialGivesErrorCode_data();
    void failedDialGivesErrorCode();
    void dialWithoutCredentialsFails();
    void refusesUnknownEntryAndSecondDial();
    void laterRefusalReachesNotifier();
    void dropsAnswersAfterItIsGone();
    void hangsUpAndSeesRemoteDrop();
    void deletesProfile();
    void enumeratesConnectionsWithoutBusCall();
    void staysResponsiveWhileNetworkManagerIsFrozen();
    void agentRegistersWithoutWaiting();
    void opensConnectionEditor();
    void factoryPicksNetworkManager();
    void wholeCallThroughTheProgram();

private:
    std::unique_ptr<CNetworkManagerAccess> NewBackend(const QStringList& expected = {
                                                          u"Home ISP"_s, u"Phone tether"_s,
                                                          u"DSL"_s, u"Mobile CDMA"_s});
    qint64 LongestGapWhileFrozen(CNetworkManagerAccess* backend,
                                 const std::function<void()>& actions);

    CNmMockBus m_bus;
    CKeyringSession m_keyring;
    QString m_missing;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_store;
    std::unique_ptr<CCredentialStore> m_credentials;
    QString m_gsm;
};

void TestNetworkManagerAccess::initTestCase()
{
    // The stored passwords live in a real keyring on a private session bus, made before
    // anything reaches for the session bus. It is part of the build's dependencies, so a
    // missing keyring fails rather than skips.
    const QString noKeyring = CKeyringSession::MissingTools();
    QVERIFY2(noKeyring.isEmpty(), qPrintable(noKeyring));
    QVERIFY(m_keyring.StartBus());
    m_keyring.Export();
    QVERIFY(m_keyring.StartKeyring());
    m_missing = CNmMockBus::MissingTools();
    if (!m_missing.isEmpty())
        return;
    // Before anything touches the system bus: the backends follow the environment.
    QVERIFY(m_bus.StartBus());
}

void TestNetworkManagerAccess::init()
{
    if (!m_missing.isEmpty())
        QSKIP(qPrintable(m_missing));
    QVERIFY(m_bus.StartMock(QFINDTESTDATA("nm_dialup.py")));
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::IsServiceUp(), 15000);
    m_dir = std::make_unique<QTemporaryDir>();
    m_store = std::make_unique<CSettingsStore>(m_dir->filePath(u"orvalis.ini"_s));
    m_credentials = std::make_unique<CCredentialStore>(m_store.get());

    const QDBusMessage modem = CNmMockBus::MockCall(
        u"AddModemDevice"_s, {u"modem0"_s, u"ppp0"_s, QVariant::fromValue(30U)});
    QCOMPARE(modem.type(), QDBusMessage::ReplyMessage);
    m_gsm = CNmMockBus::AddProfile(u"Home ISP"_s, u"gsm"_s, 0, u"gsm"_s);
    QVERIFY(!m_gsm.isEmpty());
    QVERIFY(!CNmMockBus::AddProfile(u"Office Wi-Fi"_s, u"802-11-wireless"_s).isEmpty());
    QVERIFY(!CNmMockBus::AddProfile(u"Phone tether"_s, u"802-3-ethernet"_s, 1).isEmpty());
    QVERIFY(!CNmMockBus::AddProfile(u"DSL"_s, u"pppoe"_s, 0, u"pppoe"_s).isEmpty());
    QVERIFY(!CNmMockBus::AddProfile(u"Wired"_s, u"802-3-ethernet"_s, 2).isEmpty());
    QVERIFY(!CNmMockBus::AddProfile(u"Mobile CDMA"_s, u"cdma"_s).isEmpty());
}

void TestNetworkManagerAccess::cleanup()
{
    m_bus.StopMock();
    if (m_missing.isEmpty())
        QTRY_VERIFY_WITH_TIMEOUT(!CNmMockBus::IsServiceUp(), 15000);
    m_credentials.reset();
    m_store.reset();
    m_dir.reset();
}

std::unique_ptr<CNetworkManagerAccess>
TestNetworkManagerAccess::NewBackend(const QStringList& expected)
{
    // The profiles are read in the background: wait until they are all there.
    auto backend = std::make_unique<CNetworkManagerAccess>(m_credentials.get());
    QStringList entries;
    if (!QTest::qWaitFor([&] { return backend->EnumEntries(entries), entries == expected; }, 10000))
        qWarning("the profiles were not read in time: %s", qPrintable(entries.join(u", ")));
    return backend;
}

void TestNetworkManagerAccess::listsDialUpAndMeteredProfiles()
{
    CNetworkManagerAccess backend(m_credentials.get());
    QStringList entries;
    QCOMPARE(backend.EnumEntries(entries), 0);
    QTRY_COMPARE((backend.EnumEntries(entries), entries),
                 QStringList({u"Home ISP"_s, u"Phone tether"_s, u"DSL"_s, u"Mobile CDMA"_s}));
}

void TestNetworkManagerAccess::followsProfileChanges()
{
    auto backend = NewBackend();
    const QString path = CNmMockBus::AddProfile(u"Backup modem"_s, u"gsm"_s);
    QVERIFY(!path.isEmpty());
    QStringList entries;
    QTRY_VERIFY((backend->EnumEntries(entries), entries.contains(u"Backup modem"_s)));
    QCOMPARE(entries.last(), u"Backup modem"_s);

    // Marking a profile metered makes it watched.
    const QString wired = CNmMockBus::AddProfile(u"Hotel LAN"_s, u"802-3-ethernet"_s, 2);
    NMVariantMapMap update;
    update[u"connection"_s] = {{u"metered"_s, 1}};
    const QDBusMessage reply =
        CNmMockBus::Call(wired, u"org.freedesktop.NetworkManager.Settings.Connection"_s,
                         u"Update"_s, {QVariant::fromValue(update)});
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QTRY_VERIFY((backend->EnumEntries(entries), entries.contains(u"Hotel LAN"_s)));

    // A profile deleted by another program goes.
    CNmMockBus::Call(path, u"org.freedesktop.NetworkManager.Settings.Connection"_s, u"Delete"_s);
    QTRY_VERIFY((backend->EnumEntries(entries), !entries.contains(u"Backup modem"_s)));
}

void TestNetworkManagerAccess::dialConnectsWithStoredCredentials()
{
    m_store->Write(Keys::EntryUser(u"Home ISP"_s), u"alice"_s);
    m_store->Write(Keys::EntryPassword(u"Home ISP"_s), u"s3cret pw"_s);
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 99;
    QCOMPARE(backend->Dial(u"Home ISP"_s, QString(), QString(), Recorder(steps), handle), 0);
    QVERIFY(handle != 0);
    QVERIFY(steps.isEmpty()); // progress never comes during the call
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
    QCOMPARE(steps, Steps({CRemoteAccess::OpenPort, CRemoteAccess::PortOpened,
                           CRemoteAccess::ConnectDevice, CRemoteAccess::DeviceConnected,
                           CRemoteAccess::AllDevicesConnected, CRemoteAccess::Authenticate,
                           CRemoteAccess::Authenticated, CRemoteAccess::AuthProject,
                           CRemoteAccess::Projected, CRemoteAccess::Connected}));

    const auto secrets = LastSecrets();
    QCOMPARE(secrets.value(u"gsm"_s).value(u"username"_s), u"alice"_s);
    QCOMPARE(secrets.value(u"gsm"_s).value(u"password"_s), u"s3cret pw"_s);

    QList<CActiveConnection> connections;
    QTRY_VERIFY((backend->EnumConnections(connections), connections.size() == 1));
    QCOMPARE(connections[0].handle, handle);
    QCOMPARE(connections[0].entryName, u"Home ISP"_s);
    QCOMPARE(connections[0].deviceName, u"dbusmock"_s);
    QCOMPARE(connections[0].deviceType, u"modem"_s);
    QCOMPARE(connections[0].interfaceName, u"ppp0"_s);
    const int before = steps.size();
    QCOMPARE(backend->HangUp(handle), 0);
    QTRY_VERIFY((backend->EnumConnections(connections), connections.isEmpty()));
    QCOMPARE(steps.size(), before); // the finished dial reports nothing more
}

void TestNetworkManagerAccess::dialCredentialsComeBeforeStored()
{
    // The stored password may have been emptied after the dial started ("do not
    // remember"): the agent answers with what the dial was given.
    m_store->Write(Keys::EntryUser(u"DSL"_s), u"old"_s);
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    // The mock dials on its first modem whatever the profile's kind.
    QCOMPARE(backend->Dial(u"dsl"_s, u"bob"_s, u"pw"_s, Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
    const auto secrets = LastSecrets();
    QCOMPARE(secrets.value(u"pppoe"_s).value(u"username"_s), u"bob"_s);
    QCOMPARE(secrets.value(u"pppoe"_s).value(u"password"_s), u"pw"_s);
}

void TestNetworkManagerAccess::agentAnswersFromKeyring()
{
    // Saved as the credentials window saves them: the password in the keyring only.
    CCredentialStore credentials(m_store.get());
    bool saved = false;
    CCredentialStore::Place place = CCredentialStore::Place::SettingsFile;
    credentials.Save(u"DSL"_s, u"dora"_s, u"keyring pw"_s,
                     [&](bool ok, CCredentialStore::Place where) {
                         saved = ok;
                         place = where;
                     });
    QTRY_VERIFY_WITH_TIMEOUT(saved, 15000);
    QCOMPARE(place, CCredentialStore::Place::Keyring);
    QCOMPARE(m_keyring.Lookup(u"DSL"_s), u"keyring pw"_s);
    QCOMPARE(m_store->Read(Keys::EntryPassword(u"DSL"_s)), QString());
    // The keyring outlives the test: the password goes again afterwards.
    const auto erase = qScopeGuard([&credentials] {
        bool erased = false;
        credentials.Save(u"DSL"_s, QString(), QString(), [&erased](bool, auto) { erased = true; });
        if (!QTest::qWaitFor([&erased] { return erased; }, 15000))
            qWarning("the password of DSL was not erased");
    });

    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"DSL"_s, QString(), QString(), Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
    const auto secrets = LastSecrets();
    QCOMPARE(secrets.value(u"pppoe"_s).value(u"username"_s), u"dora"_s);
    QCOMPARE(secrets.value(u"pppoe"_s).value(u"password"_s), u"keyring pw"_s);
}

// The agent answers NetworkManager when its lookup answers, and a request NetworkManager
// cancels meanwhile at once.
void TestNetworkManagerAccess::agentAnswersLaterOrCancelled()
{
    QList<CNmSecretAgent::CredentialsReply> waiting;
    auto agent = std::make_unique<CNmSecretAgent>(
        QDBusConnection::systemBus(),
        [&waiting](const QString&, CNmSecretAgent::CredentialsReply reply) {
            waiting.append(std::move(reply));
        });
    QVERIFY(agent->Register());
    // NetworkManager's side: another connection to the bus.
    QDBusConnection caller = QDBusConnection::connectToBus(QDBusConnection::SystemBus, u"nm"_s);
    const auto cleanup = qScopeGuard([] { QDBusConnection::disconnectFromBus(u"nm"_s); });
    const auto ask = [&caller](const QString& path) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QDBusConnection::systemBus().baseService(),
            QString::fromLatin1(CNmSecretAgent::kObjectPath),
            u"org.freedesktop.NetworkManager.SecretAgent"_s, u"GetSecrets"_s);
        NMVariantMapMap connection;
        connection[u"connection"_s] = {{u"id"_s, u"Home ISP"_s}};
        call.setArguments({QVariant::fromValue(connection),
                           QVariant::fromValue(QDBusObjectPath(path)), u"gsm"_s, QStringList(),
                           0U});
        return std::make_unique<QDBusPendingCallWatcher>(caller.asyncCall(call));
    };

    const auto first = ask(u"/org/freedesktop/NetworkManager/Settings/1"_s);
    QTRY_COMPARE(waiting.size(), 1);
    QVERIFY(!first->isFinished());
    waiting.takeFirst()(true, u"erin"_s, u"late pw"_s);
    QTRY_VERIFY(first->isFinished());
    QVERIFY(!first->isError());
    const NMVariantMapMap answer = qdbus_cast<NMVariantMapMap>(first->reply().arguments().value(0));
    QCOMPARE(answer.value(u"gsm"_s).value(u"password"_s).toString(), u"late pw"_s);
    QCOMPARE(answer.value(u"gsm"_s).value(u"username"_s).toString(), u"erin"_s);

    // Cancelled before the lookup answers: NetworkManager hears at once, the late answer
    // goes nowhere.
    const auto second = ask(u"/org/freedesktop/NetworkManager/Settings/2"_s);
    QTRY_COMPARE(waiting.size(), 1);
    QDBusMessage cancel = QDBusMessage::createMethodCall(
        QDBusConnection::systemBus().baseService(),
        QString::fromLatin1(CNmSecretAgent::kObjectPath),
        u"org.freedesktop.NetworkManager.SecretAgent"_s, u"CancelGetSecrets"_s);
    cancel.setArguments(
        {QVariant::fromValue(QDBusObjectPath(u"/org/freedesktop/NetworkManager/Settings/2"_s)),
         u"gsm"_s});
    // The agent answers on this thread: wait for it without blocking the loop.
    QDBusPendingCallWatcher cancelled(caller.asyncCall(cancel));
    QTRY_VERIFY(cancelled.isFinished());
    QVERIFY2(!cancelled.isError(), qPrintable(cancelled.error().message()));
    QTRY_VERIFY(second->isFinished());
    QCOMPARE(second->error().name(), u"org.freedesktop.NetworkManager.SecretAgent.UserCanceled"_s);
    waiting.takeFirst()(true, u"erin"_s, u"too late"_s);

    // Nothing known: NoSecrets, so that NetworkManager asks elsewhere.
    const auto third = ask(u"/org/freedesktop/NetworkManager/Settings/3"_s);
    QTRY_COMPARE(waiting.size(), 1);
    waiting.takeFirst()(false, QString(), QString());
    QTRY_VERIFY(third->isFinished());
    QCOMPARE(third->error().name(), u"org.freedesktop.NetworkManager.SecretAgent.NoSecrets"_s);

    // A request still waiting when the agent goes is answered too.
    const auto fourth = ask(u"/org/freedesktop/NetworkManager/Settings/4"_s);
    QTRY_COMPARE(waiting.size(), 1);
    QVERIFY(!fourth->isFinished());
    agent.reset();
    QTRY_VERIFY(fourth->isFinished());
    QCOMPARE(fourth->error().name(), u"org.freedesktop.NetworkManager.SecretAgent.NoSecrets"_s);
    waiting.takeFirst()(true, u"erin"_s, u"after the agent"_s);
}

void TestNetworkManagerAccess::failedDialGivesErrorCode_data()
{
    QTest::addColumn<uint>("reason");
    QTest::addColumn<int>("error");
    QTest::newRow("busy") << 23U << int(CRemoteAccess::ErrorLineBusy);
    QTest::newRow("no dial tone") << 24U << int(CRemoteAccess::ErrorNoDialTone);
    QTest::newRow("no carrier") << 25U << int(CRemoteAccess::ErrorNoCarrier);
    QTest::newRow("dial time-out") << 26U << int(CRemoteAccess::ErrorNoAnswer);
    QTest::newRow("PPP failed") << 14U << int(CNetworkManagerAccess::ErrorPppFailed);
}

void TestNetworkManagerAccess::failedDialGivesErrorCode()
{
    QFETCH(uint, reason);
    QFETCH(int, error);
    QCOMPARE(CNmMockBus::MockCall(u"SetDialOutcome"_s, {m_gsm, QVariant::fromValue(reason)}).type(),
             QDBusMessage::ReplyMessage);
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().error != 0, 10000);
    QCOMPARE(steps.last(), (Step{CRemoteAccess::Authenticate, unsigned(error)}));
    QString text;
    QVERIFY(backend->GetErrorString(error, text));
    QVERIFY(!text.isEmpty());
    // The failed dial is over: no connection, and the next dial may start.
    QList<CActiveConnection> connections;
    QTRY_VERIFY(CNmMockBus::ActiveConnections().isEmpty());
    QCOMPARE(backend->EnumConnections(connections), 0);
    QVERIFY(connections.isEmpty());
    CNmMockBus::MockCall(u"SetDialOutcome"_s, {m_gsm, QVariant::fromValue(0U)});
    steps.clear();
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
}

void TestNetworkManagerAccess::dialWithoutCredentialsFails()
{
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, QString(), QString(), Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().error != 0, 10000);
    QCOMPARE(steps.last().error, unsigned(CNetworkManagerAccess::ErrorNoSecrets));
    QCOMPARE(LastSecrets().value(u"error"_s).value(u"name"_s),
             u"org.freedesktop.NetworkManager.SecretAgent.NoSecrets"_s);
}

void TestNetworkManagerAccess::refusesUnknownEntryAndSecondDial()
{
    auto backend = NewBackend();
    RasHandle handle = 5;
    QCOMPARE(backend->Dial(u"Office Wi-Fi"_s, u"u"_s, u"p"_s, {}, handle),
             int(CRemoteAccess::ErrorEntryNotFound));
    QCOMPARE(handle, RasHandle(0));
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, {}, handle), 0);
    RasHandle second = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, {}, second),
             int(CRemoteAccess::ErrorPortAlreadyOpen));
    QCOMPARE(backend->HangUp(424242), int(CRemoteAccess::ErrorInvalidHandle));
    // Hanging up a dial under way ends it.
    QCOMPARE(backend->HangUp(handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::ActiveConnections().isEmpty(), 10000);
}

// Dial returns before NetworkManager answers: a refusal comes later, through the notifier.
void TestNetworkManagerAccess::laterRefusalReachesNotifier()
{
    auto backend = NewBackend();
    m_bus.StopMock();
    QTRY_VERIFY_WITH_TIMEOUT(!CNmMockBus::IsServiceUp(), 15000);
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, Recorder(steps), handle), 0);
    QVERIFY(handle != 0);
    QVERIFY(steps.isEmpty());
    QTRY_COMPARE(steps.size(), 1);
    QCOMPARE(steps.first(),
             (Step{CRemoteAccess::OpenPort, unsigned(CNetworkManagerAccess::ErrorNotRunning)}));
    // The failed dial is over.
    QCOMPARE(backend->HangUp(handle), int(CRemoteAccess::ErrorInvalidHandle));
    RasHandle again = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, {}, again), 0);
    QVERIFY(again != handle);
}

void TestNetworkManagerAccess::dropsAnswersAfterItIsGone()
{
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Phone tether"_s, u"u"_s, u"p"_s, Recorder(steps), handle), 0);
    QCOMPARE(backend->DeleteEntry(u"DSL"_s), 0);
    backend.reset();
    // The answers and the activation's signals come in while nobody is there for them.
    QTRY_COMPARE_WITH_TIMEOUT(ActiveState(), 2U, 10000);
    QVERIFY(steps.isEmpty());
}

void TestNetworkManagerAccess::hangsUpAndSeesRemoteDrop()
{
    auto backend = NewBackend();
    // Each change of the list is told once the list shows it: here, how long it is then.
    QList<qsizetype> told;
    QVERIFY(backend->WatchConnections([&told, &backend] {
        QList<CActiveConnection> now;
        backend->EnumConnections(now);
        told.append(now.size());
    }));
    QList<Step> steps;
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, Recorder(steps), handle), 0);
    QList<CActiveConnection> connections;
    QTRY_VERIFY_WITH_TIMEOUT((backend->EnumConnections(connections), connections.size() == 1),
                             10000);
    QCOMPARE(told.value(0), 1);
    const QStringList active = CNmMockBus::ActiveConnections();
    QCOMPARE(active.size(), 1);
    // The line drops at the far end.
    QCOMPARE(CNmMockBus::MockCall(u"DropConnection"_s,
                                  {QVariant::fromValue(QDBusObjectPath(active.first()))})
                 .type(),
             QDBusMessage::ReplyMessage);
    QTRY_VERIFY((backend->EnumConnections(connections), connections.isEmpty()));
    QCOMPARE(told.last(), 0);
    QCOMPARE(backend->HangUp(handle), int(CRemoteAccess::ErrorInvalidHandle));

    // A connection made again is a new one.
    RasHandle again = 0;
    QCOMPARE(backend->Dial(u"Home ISP"_s, u"u"_s, u"p"_s, {}, again), 0);
    QVERIFY(again != handle);
    QTRY_VERIFY_WITH_TIMEOUT((backend->EnumConnections(connections), connections.size() == 1),
                             10000);
    QCOMPARE(connections[0].handle, again);
}

void TestNetworkManagerAccess::deletesProfile()
{
    auto backend = NewBackend();
    QCOMPARE(backend->DeleteEntry(u"DSL"_s), 0);
    QStringList entries;
    backend->EnumEntries(entries); // at once, as the Connections window does
    QCOMPARE(entries, QStringList({u"Home ISP"_s, u"Phone tether"_s, u"Mobile CDMA"_s}));
    QCOMPARE(backend->DeleteEntry(u"DSL"_s), int(CRemoteAccess::ErrorEntryNotFound));
    // NetworkManager has forgotten it too.
    auto fresh = NewBackend({u"Home ISP"_s, u"Phone tether"_s, u"Mobile CDMA"_s});
    fresh->EnumEntries(entries);
    QCOMPARE(entries, QStringList({u"Home ISP"_s, u"Phone tether"_s, u"Mobile CDMA"_s}));
}

void TestNetworkManagerAccess::enumeratesConnectionsWithoutBusCall()
{
    auto backend = NewBackend();
    RasHandle handle = 0;
    QCOMPARE(backend->Dial(u"Phone tether"_s, u"u"_s, u"p"_s, {}, handle), 0);
    QList<CActiveConnection> connections;
    QTRY_VERIFY_WITH_TIMEOUT((backend->EnumConnections(connections), connections.size() == 1),
                             10000);
    // With NetworkManager frozen a call to it would wait for its time-out: the answer must
    // come from memory, at once.
    QVERIFY(::kill(pid_t(m_bus.MockPid()), SIGSTOP) == 0);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(backend->EnumConnections(connections), 0);
        QCOMPARE(connections.size(), 1);
        QCOMPARE(connections[0].entryName, u"Phone tether"_s);
    }
    const qint64 elapsed = timer.elapsed();
    ::kill(pid_t(m_bus.MockPid()), SIGCONT);
    QVERIFY2(elapsed < 1000, qPrintable(u"took %1 ms"_s.arg(elapsed)));
}

// Stops the mock for FreezeMs(), runs the actions meanwhile and keeps the event loop going,
// asking the backend (if any) for its lists on every turn as the window does. Returns the longest
// the loop went without turning (-1 when the mock could not be stopped). The mock runs
// again afterwards, whatever happens.
qint64 TestNetworkManagerAccess::LongestGapWhileFrozen(CNetworkManagerAccess* backend,
                                                       const std::function<void()>& actions)
{
    const pid_t pid = pid_t(m_bus.MockPid());
    if (pid <= 0 || ::kill(pid, SIGSTOP) != 0)
        return -1;
    const auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
    QElapsedTimer clock;
    clock.start();
    qint64 longest = 0;
    const auto turn = [&] { longest = qMax(longest, clock.restart()); };
    QTimer ticker;
    ticker.setInterval(50);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        turn();
        QStringList entries;
        QList<CActiveConnection> connections;
        if (backend) {
            backend->EnumEntries(entries);
            backend->EnumConnections(connections);
        }
    });
    ticker.start();
    actions();
    turn();
    QEventLoop loop;
    QTimer::singleShot(FreezeMs(), &loop, &QEventLoop::quit);
    loop.exec();
    turn();
    qInfo("NetworkManager frozen for %d ms; the event loop's longest pause: %lld ms", FreezeMs(),
          longest);
    return longest;
}

// With NetworkManager frozen, a dial, a hang-up and the lists answer at once and the event
// loop keeps turning; once it runs again the backend catches up.
void TestNetworkManagerAccess::staysResponsiveWhileNetworkManagerIsFrozen()
{
    m_store->Write(Keys::EntryUser(u"Home ISP"_s), u"carol"_s);
    m_store->Write(Keys::EntryPassword(u"Home ISP"_s), u"pw"_s);
    auto backend = NewBackend();
    QList<Step> steps;
    RasHandle handle = 0;
    int result = -1;
    QStringList entries;
    QList<CActiveConnection> connections;
    qint64 gap = LongestGapWhileFrozen(backend.get(), [&] {
        result = backend->Dial(u"Home ISP"_s, QString(), QString(), Recorder(steps), handle);
        backend->EnumEntries(entries);
        backend->EnumConnections(connections);
    });
    QVERIFY2(gap >= 0 && gap < 750, qPrintable(u"the loop stood still for %1 ms"_s.arg(gap)));
    QCOMPARE(result, 0);
    QVERIFY(handle != 0);
    QCOMPARE(entries.size(), 4);
    QVERIFY(connections.isEmpty());
    QVERIFY(steps.isEmpty()); // NetworkManager has not heard of the dial yet
    // The state changes that come before the activation's answer are not lost.
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
    QCOMPARE(steps, Steps({CRemoteAccess::OpenPort, CRemoteAccess::PortOpened,
                           CRemoteAccess::ConnectDevice, CRemoteAccess::DeviceConnected,
                           CRemoteAccess::AllDevicesConnected, CRemoteAccess::Authenticate,
                           CRemoteAccess::Authenticated, CRemoteAccess::AuthProject,
                           CRemoteAccess::Projected, CRemoteAccess::Connected}));
    QTRY_VERIFY((backend->EnumConnections(connections), connections.size() == 1));
    QCOMPARE(connections[0].handle, handle);
    QCOMPARE(connections[0].interfaceName, u"ppp0"_s);

    // Hang-up: the connection stays listed until NetworkManager has ended it.
    gap = LongestGapWhileFrozen(backend.get(), [&] {
        result = backend->HangUp(handle);
        backend->EnumConnections(connections);
    });
    QVERIFY2(gap >= 0 && gap < 750, qPrintable(u"the loop stood still for %1 ms"_s.arg(gap)));
    QCOMPARE(result, 0);
    QCOMPARE(connections.size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT((backend->EnumConnections(connections), connections.isEmpty()), 10000);
    QTRY_VERIFY(CNmMockBus::ActiveConnections().isEmpty());

    // A dial hung up before NetworkManager answered is ended once it does, silently.
    steps.clear();
    RasHandle second = 0;
    int hangUp = -1;
    gap = LongestGapWhileFrozen(backend.get(), [&] {
        result = backend->Dial(u"Home ISP"_s, QString(), QString(), Recorder(steps), second);
        hangUp = backend->HangUp(second);
    });
    QVERIFY2(gap >= 0 && gap < 750, qPrintable(u"the loop stood still for %1 ms"_s.arg(gap)));
    QCOMPARE(result, 0);
    QCOMPARE(hangUp, 0);
    QVERIFY(second != handle);
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::ActiveConnections().isEmpty(), 10000);
    QCOMPARE(backend->EnumConnections(connections), 0);
    QVERIFY(connections.isEmpty());
    QVERIFY(steps.isEmpty());
    // The line is free again.
    QCOMPARE(backend->Dial(u"Home ISP"_s, QString(), QString(), Recorder(steps), handle), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && steps.last().state == CRemoteAccess::Connected,
                             10000);
}

void TestNetworkManagerAccess::agentRegistersWithoutWaiting()
{
    CNmSecretAgent agent(QDBusConnection::systemBus(), {});
    QSignalSpy answered(&agent, &CNmSecretAgent::RegistrationAnswered);
    bool sent = false;
    const qint64 gap = LongestGapWhileFrozen(nullptr, [&] { sent = agent.Register(); });
    QVERIFY2(gap >= 0 && gap < 750, qPrintable(u"the loop stood still for %1 ms"_s.arg(gap)));
    QVERIFY(sent);
    QVERIFY(!agent.IsRegistered());
    QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 1, 10000);
    QCOMPARE(answered.first().first().toBool(), true);
    QVERIFY(agent.IsRegistered());
}

void TestNetworkManagerAccess::opensConnectionEditor()
{
    auto backend = NewBackend();
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    QString text;
    const int missing = backend->CreateEntry();
    QVERIFY(backend->GetErrorString(missing, text));
    QCOMPARE(text, u"No connection editor is installed. Install nm-connection-editor (package "
                   "network-manager-gnome), or use nmtui or nmcli in a terminal."_s);
    QCOMPARE(backend->EditEntry(u"Home ISP"_s), missing);

    // A stand-in editor that writes down how it was started.
    const QString record = bin.filePath(u"args.txt"_s);
    QFile editor(bin.filePath(u"nm-connection-editor"_s));
    QVERIFY(editor.open(QIODevice::WriteOnly));
    editor.write("#!/bin/sh\necho \"$@\" > '" + record.toLocal8Bit() + "'\n");
    editor.close();
    editor.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const int edited = backend->EditEntry(u"Home ISP"_s);
    const int created = backend->CreateEntry();
    qputenv("PATH", oldPath);
    QCOMPARE(edited, 0);
    QCOMPARE(created, 0);
    QTRY_VERIFY(QFile::exists(record));
    QCOMPARE(backend->EditEntry(u"No such entry"_s), int(CRemoteAccess::ErrorEntryNotFound));
}

void TestNetworkManagerAccess::factoryPicksNetworkManager()
{
    QString note;
    auto backend = CRemoteAccessFactory::Create(u"auto"_s, m_dir->filePath(u"sim.ini"_s),
                                                m_credentials.get(), &note);
    QVERIFY(dynamic_cast<CNetworkManagerAccess*>(backend.get()));
    QCOMPARE(note, u"Using NetworkManager"_s);
    backend.reset();
    backend =
        CRemoteAccessFactory::Create(u"NetworkManager"_s, QString(), m_credentials.get(), &note);
    QVERIFY(dynamic_cast<CNetworkManagerAccess*>(backend.get()));
    QVERIFY(note.isEmpty());
}

QTEST_GUILESS_MAIN(TestNetworkManagerAccess)
#include "tst_networkmanageraccess.moc"

// The real program against the mock: a call made by another client is seen, the program's
// secret agent answers for it, a hang-up asked for from a shell ends it, and one line lands
// in the log.
void TestNetworkManagerAccess::wholeCallThroughTheProgram()
{
    QTemporaryDir home;
    const QString config = home.filePath(u"config/orvalis"_s);
    QVERIFY(QDir().mkpath(config));
    QVERIFY(QDir().mkpath(home.filePath(u"runtime"_s)));
    QFile::setPermissions(home.filePath(u"runtime"_s),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    CSettingsStore settings(config + u"/ov.ini"_s);
    settings.Write(Keys::ShowSplash, 0);
    settings.Write(Keys::ConfirmHangup, 0);
    settings.Write(Keys::EntryUser(u"Home ISP"_s), u"anna"_s);
    settings.Write(Keys::EntryPassword(u"Home ISP"_s), u"s3cret"_s);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"HOME"_s, home.path());
    env.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    env.insert(u"XDG_RUNTIME_DIR"_s, home.filePath(u"runtime"_s));
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ORVALIS_EXECUTABLE), {u"--backend=auto"_s});
    QVERIFY(program.waitForStarted(5000));
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished(5000);
    });
    const auto run = [&env](const QStringList& arguments) {
        QProcess command;
        command.setProcessEnvironment(env);
        command.start(QStringLiteral(ORVALIS_EXECUTABLE), arguments);
        return command.waitForFinished(10000) ? command.exitCode() : -1;
    };
    // Running and registered as the secret agent once a shell command reaches it.
    QTRY_VERIFY_WITH_TIMEOUT(run({u"--command"_s, u"show"_s}) == 0, 15000);

    QCOMPARE(ActivateProfile(m_gsm).type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE_WITH_TIMEOUT(LastSecrets().value(u"gsm"_s).value(u"password"_s), u"s3cret"_s,
                              10000);
    QCOMPARE(LastSecrets().value(u"gsm"_s).value(u"username"_s), u"anna"_s);

    // Hang up from a shell until the program has seen the call and ended it.
    QTRY_VERIFY_WITH_TIMEOUT(
        (run({u"--command"_s, u"hangup"_s}), CNmMockBus::ActiveConnections().isEmpty()), 20000);
    QFile log(config + u"/logfile.log"_s);
    QTRY_VERIFY_WITH_TIMEOUT(log.exists() && log.size() > 0, 10000);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().split('\n');
    QCOMPARE(lines.size(), 2); // one record and the empty rest after its line feed
    const QList<QByteArray> fields = lines.first().split('|');
    QCOMPARE(fields.size(), 10);
    QCOMPARE(fields[6], QByteArray("Home ISP"));
    QVERIFY(!fields[5].trimmed().isEmpty());
    log.close();

    // A second call, hung up while NetworkManager is frozen: the program keeps answering
    // the shell, and once NetworkManager runs again the call ends with one record.
    QCOMPARE(ActivateProfile(m_gsm).type(), QDBusMessage::ReplyMessage);
    QTRY_COMPARE_WITH_TIMEOUT(ActiveState(), 2U, 10000);
    const pid_t pid = pid_t(m_bus.MockPid());
    QVERIFY(::kill(pid, SIGSTOP) == 0);
    auto resume = qScopeGuard([pid] { ::kill(pid, SIGCONT); });
    const int freezeMs = qMax(FreezeMs(), 3000);
    QElapsedTimer frozen;
    frozen.start();
    bool hungUp = false;
    int failures = 0;
    int answers = 0;
    qint64 slowest = 0;
    while (frozen.elapsed() < freezeMs) {
        // The program sees the call within a second of its start (it looks once a second,
        // also while NetworkManager is frozen); the hang-up comes after that.
        if (!hungUp && frozen.elapsed() >= freezeMs / 2) {
            hungUp = true;
            failures += run({u"--command"_s, u"hangup"_s}) != 0;
        }
        QElapsedTimer shown;
        shown.start();
        if (run({u"--command"_s, u"show"_s}) == 0)
            ++answers;
        else
            ++failures;
        slowest = qMax(slowest, shown.elapsed());
    }
    resume.dismiss();
    QVERIFY(::kill(pid, SIGCONT) == 0);
    QCOMPARE(failures, 0);
    QVERIFY(hungUp);
    QVERIFY(answers >= 2);
    qInfo("NetworkManager frozen for %d ms; %d shell commands, the slowest took %lld ms", freezeMs,
          answers, slowest);
    QVERIFY2(slowest < 2000, qPrintable(u"a command took %1 ms"_s.arg(slowest)));
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::ActiveConnections().isEmpty(), 10000);
    const auto records = [&log] {
        if (!log.open(QIODevice::ReadOnly))
            return QList<QByteArray>();
        const QList<QByteArray> out = log.readAll().split('\n');
        log.close();
        return out;
    };
    QTRY_VERIFY_WITH_TIMEOUT(records().size() >= 3, 10000);
    const QList<QByteArray> after = records();
    QCOMPARE(after.size(), 3); // the first call's record, this one's, the empty rest
    QCOMPARE(after[1].split('|').value(6), QByteArray("Home ISP"));
    QCOMPARE(program.state(), QProcess::Running);
}
