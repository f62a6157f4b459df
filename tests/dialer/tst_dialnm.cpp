#include "common/settingsstore.h"
#include "dialer/backends/networkmanager/networkmanageraccess.h"
#include "dialer/credentialstore.h"
#include "dialer/dialsession.h"
#include "dialfixture.h"
#include "support/nmmockbus.h"

#include <QDBusArgument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString kBusyLine = u"Line is busy.\nRedialing, please wait..."_s;
} // namespace

// The dial of the default connection through NetworkManager (the mock on a private bus).
class TestDialNm : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void networkManagerDialConnects();
    void networkManagerBusyFollowsTheRule();

private:
    CNmMockBus m_bus;
    QString m_nmMissing;
    std::unique_ptr<CDialFixture> m_fixture;
    CSettingsStore* m_store = nullptr;
    CCredentialStore* m_credentials = nullptr;
};

void TestDialNm::initTestCase()
{
    // The credentials stay in the settings file: no keyring is looked for.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    m_nmMissing = CNmMockBus::MissingTools();
    if (m_nmMissing.isEmpty())
        QVERIFY(m_bus.StartBus());
}

void TestDialNm::init()
{
    m_fixture = std::make_unique<CDialFixture>();
    m_store = &m_fixture->store;
    m_credentials = &m_fixture->credentials;
}

void TestDialNm::cleanup()
{
    m_store = nullptr;
    m_credentials = nullptr;
    m_fixture.reset();
}

void TestDialNm::networkManagerDialConnects()
{
    if (!m_nmMissing.isEmpty())
        QSKIP(qPrintable(m_nmMissing));
    QVERIFY(m_bus.StartMock(QFINDTESTDATA("nm_dialup.py")));
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::IsServiceUp(), 15000);
    QCOMPARE(CNmMockBus::MockCall(u"AddModemDevice"_s,
                                  {u"modem0"_s, u"ppp0"_s, QVariant::fromValue(30U)})
                 .type(),
             QDBusMessage::ReplyMessage);
    QVERIFY(!CNmMockBus::AddProfile(u"Home ISP"_s, u"gsm"_s, 0, u"gsm"_s).isEmpty());
    CNetworkManagerAccess remote(m_credentials);
    QStringList entries;
    QTRY_VERIFY_WITH_TIMEOUT((remote.EnumEntries(entries), entries.contains(u"Home ISP"_s)), 10000);

    CDialSession session(*m_store, remote, *m_credentials);
    QSignalSpy closing(&session, &CDialSession::CloseRequested);
    QStringList texts;
    connect(&session, &CDialSession::Changed, this,
            [&texts, &session] { texts.append(session.Text()); });
    session.Start();
    CDialFixture::FireAttempt(session, CDialSession::kFirstDialMs);
    QTRY_COMPARE_WITH_TIMEOUT(closing.size(), 1, 10000);
    QVERIFY(texts.contains(u"Verifying the user name and password..."_s));
    QVERIFY(texts.contains(u"The client has successfully completed authentication."_s));

    // The secret agent answered with the stored credentials.
    const QDBusMessage secrets = CNmMockBus::MockCall(u"GetLastSecrets"_s);
    QCOMPARE(secrets.type(), QDBusMessage::ReplyMessage);
    QMap<QString, QMap<QString, QString>> map;
    secrets.arguments().value(0).value<QDBusArgument>() >> map;
    QCOMPARE(map.value(u"gsm"_s).value(u"username"_s), u"alice"_s);
    QCOMPARE(map.value(u"gsm"_s).value(u"password"_s), u"s3cret"_s);
    QList<CActiveConnection> connections;
    QTRY_VERIFY((remote.EnumConnections(connections), connections.size() == 1));
    QCOMPARE(connections[0].entryName, u"Home ISP"_s);
    m_bus.StopMock();
    QTRY_VERIFY_WITH_TIMEOUT(!CNmMockBus::IsServiceUp(), 15000);
}

void TestDialNm::networkManagerBusyFollowsTheRule()
{
    if (!m_nmMissing.isEmpty())
        QSKIP(qPrintable(m_nmMissing));
    QVERIFY(m_bus.StartMock(QFINDTESTDATA("nm_dialup.py")));
    QTRY_VERIFY_WITH_TIMEOUT(CNmMockBus::IsServiceUp(), 15000);
    CNmMockBus::MockCall(u"AddModemDevice"_s, {u"modem0"_s, u"ppp0"_s, QVariant::fromValue(30U)});
    const QString gsm = CNmMockBus::AddProfile(u"Home ISP"_s, u"gsm"_s, 0, u"gsm"_s);
    // 23: the modem found the line busy.
    QCOMPARE(CNmMockBus::MockCall(u"SetDialOutcome"_s, {gsm, QVariant::fromValue(23U)}).type(),
             QDBusMessage::ReplyMessage);
    CNetworkManagerAccess remote(m_credentials);
    QStringList entries;
    QTRY_VERIFY_WITH_TIMEOUT((remote.EnumEntries(entries), entries.contains(u"Home ISP"_s)), 10000);
    m_store->Write(Keys::RedialWhenBusy, 1);
    m_store->Write(Keys::RedialTimes, 2);
    CDialSession session(*m_store, remote, *m_credentials);
    session.Start();
    CDialFixture::FireAttempt(session, CDialSession::kFirstDialMs);
    QTRY_COMPARE_WITH_TIMEOUT(session.BusyCount(), 1, 10000);
    QCOMPARE(session.Text(), kBusyLine);
    CDialFixture::FireAttempt(session, CDialSession::kRedialMs);
    QTRY_COMPARE_WITH_TIMEOUT(session.BusyCount(), 2, 10000);
    QString busy;
    QVERIFY(remote.GetErrorString(CRemoteAccess::ErrorLineBusy, busy));
    QCOMPARE(session.Text(), busy);
    QVERIFY(session.ButtonIsOk());
    QVERIFY(!session.AttemptTimer().isActive());
    m_bus.StopMock();
    QTRY_VERIFY_WITH_TIMEOUT(!CNmMockBus::IsServiceUp(), 15000);
}

QTEST_GUILESS_MAIN(TestDialNm)
#include "tst_dialnm.moc"
