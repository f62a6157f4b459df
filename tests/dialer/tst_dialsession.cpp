#include "common/settingsstore.h"
#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/credentialstore.h"
#include "dialer/dialsession.h"
#include "dialfixture.h"
#include "support/scriptedremoteaccess.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString kBusyLine = u"Line is busy.\nRedialing, please wait..."_s;
const QString kBusyError = u"The line is busy."_s;

} // namespace

class TestDialSession : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void progressTextsAndErrors();
    void connectedOpensTheAddressOnlyWhenSet();
    void notificationsFromAnotherThreadAndLateOnes();
    void busyLineRedialsUntilCancel_data();
    void busyLineRedialsUntilCancel();
    void busyChoicesThatStop_data();
    void busyChoicesThatStop();
    void forgottenCredentialsAreErasedAfterEachAttempt();

private:
    std::unique_ptr<CDialSession> NewSession(CRemoteAccess& remote);
    // Runs the attempt the timer waits for, as the timer would.
    void SetSim(const char* key, const QVariant& value);

    std::unique_ptr<CDialFixture> m_fixture;
    CSettingsStore* m_store = nullptr;
    CCredentialStore* m_credentials = nullptr;
};

void TestDialSession::initTestCase()
{
    // The credentials stay in the settings file: no keyring is looked for.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

void TestDialSession::init()
{
    m_fixture = std::make_unique<CDialFixture>();
    m_store = &m_fixture->store;
    m_credentials = &m_fixture->credentials;
}

void TestDialSession::cleanup()
{
    m_store = nullptr;
    m_credentials = nullptr;
    m_fixture.reset();
}

std::unique_ptr<CDialSession> TestDialSession::NewSession(CRemoteAccess& remote)
{
    return std::make_unique<CDialSession>(*m_store, remote, *m_credentials);
}

void TestDialSession::SetSim(const char* key, const QVariant& value)
{
    CSettingsStore(m_fixture->dir.filePath(u"simulator.ini"_s))
        .WriteString(u"Dial"_s, QString::fromLatin1(key), value.toString());
}

void TestDialSession::progressTextsAndErrors()
{
    CScriptedRemoteAccess remote;
    auto session = NewSession(remote);
    session->Start();
    QCOMPARE(session->Text(), u"Connecting to Home ISP..."_s);
    QVERIFY(!session->ButtonIsOk());
    CDialFixture::FireAttempt(*session, CDialSession::kFirstDialMs);
    QTRY_COMPARE(remote.dials.size(), 1);
    QCOMPARE(remote.dials[0].entry, u"Home ISP"_s);
    QCOMPARE(remote.dials[0].user, u"alice"_s);
    QCOMPARE(remote.dials[0].password, u"s3cret"_s);
    QCOMPARE(session->Handle(), RasHandle(101));

    session->OnProgress(CRemoteAccess::AuthNotify, 0);
    QCOMPARE(session->Text(), u"Authentication...\nPlease wait..."_s);
    session->OnProgress(CRemoteAccess::ReAuthenticate, 0);
    QCOMPARE(session->Text(), u"Reauthentication (after callback) is starting."_s);
    // A state the table does not know keeps the previous text.
    session->OnProgress(77, 0);
    QCOMPARE(session->Text(), u"Reauthentication (after callback) is starting."_s);
    QCOMPARE(CDialSession::StateMessage(CRemoteAccess::PasswordExpired),
             u"The password has expired and must be changed."_s);
    QVERIFY(CDialSession::StateMessage(24).isEmpty());

    // An error without a text of its own, during progress and at the start.
    session->OnProgress(CRemoteAccess::Authenticate, 4242);
    QCOMPARE(session->Text(), u"Unknown dialing error."_s);
    QVERIFY(session->ButtonIsOk());
    QVERIFY(!session->AttemptTimer().isActive());

    remote.dialResult = 4242;
    session->Attempt();
    QTRY_COMPARE(remote.dials.size(), 2);
    QCOMPARE(session->Text(), u"Unknown dialing error (4242)."_s);
    QCOMPARE(session->Handle(), RasHandle(0));
    remote.dialResult = CRemoteAccess::ErrorAuthenticationFailure;
    session->Attempt();
    QTRY_COMPARE(remote.dials.size(), 3);
    QString known;
    QVERIFY(remote.GetErrorString(CRemoteAccess::ErrorAuthenticationFailure, known));
    QCOMPARE(session->Text(), known);

    // Hang-up names the current handle; without one nothing is asked.
    session->HangUp();
    QVERIFY(remote.hangUps.isEmpty());
    remote.dialResult = 0;
    session->Attempt();
    QTRY_COMPARE(remote.dials.size(), 4);
    session->HangUp();
    QCOMPARE(remote.hangUps, QList<RasHandle>({104}));
}

void TestDialSession::connectedOpensTheAddressOnlyWhenSet()
{
    CScriptedRemoteAccess remote;
    auto session = NewSession(remote);
    QSignalSpy opened(session.get(), &CDialSession::OpenAddress);
    QSignalSpy closing(session.get(), &CDialSession::CloseRequested);

    // Launching wanted, but no address stored: nothing opens.
    m_store->Write(Keys::LaunchBrowser, 1);
    session->OnProgress(CRemoteAccess::Connected, 0);
    QCOMPARE(opened.size(), 0);
    QCOMPARE(closing.size(), 1);

    m_store->Write(Keys::UrlToLaunch, u"http://127.0.0.1/start"_s);
    session->OnProgress(CRemoteAccess::Connected, 0);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0][0].toString(), u"http://127.0.0.1/start"_s);

    m_store->Write(Keys::LaunchBrowser, 0);
    session->OnProgress(CRemoteAccess::Disconnected, 0);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(closing.size(), 3);
}

void TestDialSession::notificationsFromAnotherThreadAndLateOnes()
{
    CScriptedRemoteAccess remote;
    auto session = NewSession(remote);
    session->Start();
    CDialFixture::FireAttempt(*session, CDialSession::kFirstDialMs);
    QTRY_VERIFY(remote.notifier);
    const CRemoteAccess::DialNotifier first = remote.notifier;

    std::thread([&first] { first(CRemoteAccess::PortOpened, 0); }).join();
    QTRY_COMPARE(session->Text(), u"Port has been opened successfully"_s);

    // A second attempt: what the first one still reports is dropped.
    session->Attempt();
    QTRY_COMPARE(remote.dials.size(), 2);
    std::thread([&first] { first(CRemoteAccess::Connected, 0); }).join();
    remote.notifier(CRemoteAccess::ConnectDevice, 0);
    QTRY_COMPARE(session->Text(), u"Connecting to the device..."_s);

    // The session is gone before the step arrives: nothing happens.
    QSignalSpy closing(session.get(), &CDialSession::CloseRequested);
    const CRemoteAccess::DialNotifier second = remote.notifier;
    std::thread([&second] { second(CRemoteAccess::Connected, 0); }).join();
    session.reset();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(closing.size(), 0);
}

void TestDialSession::busyLineRedialsUntilCancel_data()
{
    QTest::addColumn<int>("failAt");
    QTest::newRow("refused at once") << 0;
    QTest::newRow("busy during progress") << 3;
}

void TestDialSession::busyLineRedialsUntilCancel()
{
    QFETCH(int, failAt);
    SetSim("StepMs", 1);
    SetSim("BusyTimes", 100);
    SetSim("FailAt", failAt);
    CSimRemoteAccess remote(m_fixture->dir.filePath(u"simulator.ini"_s));
    m_store->Write(Keys::RedialWhenBusy, 2);
    m_store->Write(Keys::RedialTimes, 1); // not for this choice
    auto session = NewSession(remote);
    session->Start();
    int interval = CDialSession::kFirstDialMs;
    for (int attempt = 1; attempt <= 4; ++attempt) {
        CDialFixture::FireAttempt(*session, interval);
        QTRY_COMPARE(session->BusyCount(), attempt);
        QCOMPARE(session->Text(), kBusyLine);
        QVERIFY(!session->ButtonIsOk());
        interval = CDialSession::kRedialMs;
    }
    QCOMPARE(CSettingsStore(remote.File()).ReadString(u"Dial"_s, u"BusyTimes"_s, {}), u"96"_s);
    // Cancel: no further attempt.
    QVERIFY(session->AttemptTimer().isActive());
    session->HangUp();
    QVERIFY(!session->AttemptTimer().isActive());
    QVERIFY(!remote.IsDialing());
}

void TestDialSession::busyChoicesThatStop_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<bool>("mayRedial");
    QTest::newRow("up to 1 time") << 1 << 1 << 1 << true;
    QTest::newRow("up to 3 times") << 1 << 3 << 3 << true;
    QTest::newRow("no choice stored") << 0 << 3 << 1 << true;
    QTest::newRow("do not redial") << 3 << 3 << 1 << true;
    // The program may not dial on its own (the data allowance is used up).
    QTest::newRow("till connected, not on its own") << 2 << 3 << 1 << false;
}

void TestDialSession::busyChoicesThatStop()
{
    QFETCH(int, choice);
    QFETCH(int, times);
    QFETCH(int, attempts);
    QFETCH(bool, mayRedial);
    SetSim("StepMs", 1);
    SetSim("BusyTimes", 100);
    CSimRemoteAccess remote(m_fixture->dir.filePath(u"simulator.ini"_s));
    m_store->Write(Keys::RedialWhenBusy, choice);
    m_store->Write(Keys::RedialTimes, times);
    auto session = NewSession(remote);
    session->SetMayRedial([mayRedial] { return mayRedial; });
    session->Start();
    CDialFixture::FireAttempt(*session, CDialSession::kFirstDialMs);
    for (int attempt = 2; attempt <= attempts; ++attempt) {
        QTRY_COMPARE(session->BusyCount(), attempt - 1);
        QCOMPARE(session->Text(), kBusyLine);
        CDialFixture::FireAttempt(*session, CDialSession::kRedialMs);
    }
    QTRY_COMPARE(session->BusyCount(), attempts);
    QCOMPARE(session->Text(), kBusyError);
    QVERIFY(session->ButtonIsOk());
    QVERIFY(!session->AttemptTimer().isActive());
}

void TestDialSession::forgottenCredentialsAreErasedAfterEachAttempt()
{
    CScriptedRemoteAccess remote;
    remote.dialResult = CRemoteAccess::ErrorLineBusy;
    m_store->Write(Keys::RememberPassword, 0);
    m_store->Write(Keys::RedialWhenBusy, 2);
    auto session = NewSession(remote);
    session->Start();
    CDialFixture::FireAttempt(*session, CDialSession::kFirstDialMs);
    QTRY_COMPARE(remote.dials.size(), 1);
    QCOMPARE(remote.dials[0].password, u"s3cret"_s);
    QTRY_VERIFY(m_store->Read(Keys::EntryUser(u"Home ISP"_s)).isEmpty());
    QVERIFY(m_store->Read(Keys::EntryPassword(u"Home ISP"_s)).isEmpty());
    // The redial reads them again: empty.
    CDialFixture::FireAttempt(*session, CDialSession::kRedialMs);
    QTRY_COMPARE(remote.dials.size(), 2);
    QCOMPARE(remote.dials[1].user, QString());
    QCOMPARE(remote.dials[1].password, QString());

    // Remembered: they stay.
    m_store->Write(Keys::RememberPassword, 1);
    m_store->Write(Keys::EntryUser(u"Home ISP"_s), u"bob"_s);
    m_store->Write(Keys::EntryPassword(u"Home ISP"_s), u"pw"_s);
    CDialFixture::FireAttempt(*session, CDialSession::kRedialMs);
    QTRY_COMPARE(remote.dials.size(), 3);
    QCOMPARE(m_store->Read(Keys::EntryPassword(u"Home ISP"_s)), u"pw"_s);
}

QTEST_GUILESS_MAIN(TestDialSession)
#include "tst_dialsession.moc"
