#include "support/dovecotserver.h"
#include "support/monitorfakes.h"
#include "support/scriptedmessagebox.h"
#include "support/scriptedremoteaccess.h"

#include "app/gui/backgroundwork.h"
#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/scheduleticker.h"
#include "mail/mailaccount.h"
#include "mail/mailcheck.h"
#include "mail/maildialcheck.h"
#include "mail/mailfailure.h"
#include "mail/mailresultslot.h"
#include "monitor/connectionmonitor.h"
#include "update/upgradenotifier.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The monitor's background work as the program builds it, with the mail results going to
// the monitor until the end of the test.
struct CMonitorWithWork {
    CCredentialStore credentials;
    CScheduleTicker ticker;
    CUpgradeNotifier upgrades;
    std::shared_ptr<CMailResultSlot> slot = std::make_shared<CMailResultSlot>();
    CBackgroundWork work;
    CConnectionMonitor monitor;

    CMonitorWithWork(CSettingsStore& store, CRemoteAccess& ras, CMonitorSink& sink,
                     CSoundPlayer& sound)
        : credentials(&store)
        , ticker(store)
        , upgrades(store)
        , work(store, ras, credentials, ticker, upgrades, slot, sink)
        , monitor(store, ras, nullptr, sink, work, sound)
    {
        slot->Set([this](const QString& result) { monitor.SetMailResult(result); });
    }
    ~CMonitorWithWork() { slot->Clear(); }
};

const QString kCount3 = u"You have 3 new email(s)"_s;
const QString kError = u"Error connecting to the server.\nCheck your email settings!"_s;

// The error text with its reason below.
QString ErrorWith(CMailFailure::Reason reason, const QByteArray& sha256 = QByteArray())
{
    return kError + u'\n' + CMailFailure::Text(reason, sha256);
}

QByteArray Sha256(const QSslCertificate& certificate)
{
    return certificate.digest(QCryptographicHash::Sha256);
}

// Counts what the program logs while it lives.
struct LogCounter {
    static inline int count = 0;
    QtMessageHandler previous;
    LogCounter()
    {
        count = 0;
        previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString&) { ++count; });
    }
    ~LogCounter() { qInstallMessageHandler(previous); }
};

// The settings of a test, with the password in the file (no keyring on the test's bus).
struct Settings {
    QTemporaryDir dir;
    CSettingsStore store{dir.filePath(u"ov.ini"_s)};
    CCredentialStore credentials{&store, QDBusConnection(u"none"_s)};

    void Account(quint16 port, const QString& user, const QString& password, int security = 0)
    {
        store.Write(Keys::MServer, u"127.0.0.1"_s);
        store.Write(Keys::MPort, port);
        store.Write(Keys::MSecurity, security);
        store.Write(Keys::MUser, user);
        store.Write(Keys::MPassword, password);
    }
};

// What the dial window would show: the texts the check finished with.
QStringList RunDialCheck(Settings& settings, const CPop3Client::Options& options = {})
{
    CMailDialCheck check(settings.store, settings.credentials, options);
    QSignalSpy finished(&check, &CDialCheck::Finished);
    const int started = CMailCheck::Started();
    check.Start();
    // Until the worker has ended and what it posted has been handled (or the check ended
    // without a worker).
    if (!QTest::qWaitFor(
            [&] {
                return (CMailCheck::Started() > started || !finished.isEmpty()) &&
                       CMailCheck::Running() == 0;
            },
            60000))
        return {u"the check did not end"_s};
    QCoreApplication::processEvents();
    QStringList texts;
    for (const QList<QVariant>& emitted : finished) {
        // Every text the check finishes with ends the check.
        texts.append(emitted.at(1).toBool() ? emitted.at(0).toString() : u"not done"_s);
    }
    return texts;
}

} // namespace

class TestMailCheck : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void dialCheckShowsCountNoMailAndError();
    void backgroundCheckReachesTheMonitor();
    void fiveDigitCountShowsNothing();
    void tlsChecksTheServersName();
    void closedCheckDropsItsResult();
    void noServerNoCheck();
    void untrustedCertificateCanBePinned();
    void startTlsOnTlsPortFailsFast();

private:
    // The servers of the test, all started once before the first check.
    std::unique_ptr<CDovecotServer> m_plain;
    std::unique_ptr<CDovecotServer> m_many;
    std::unique_ptr<CDovecotServer> m_good;
    std::unique_ptr<CDovecotServer> m_other;
};

void TestMailCheck::initTestCase()
{
    const QString missing = CDovecotServer::Missing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    // No keyring: every credential store of the test keeps the password in its file.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/orvalis-test-bus");
    m_plain = std::make_unique<CDovecotServer>();
    QVERIFY(m_plain->AddUser(u"anna"_s, u"pw anna"_s, 3));
    QVERIFY(m_plain->AddUser(u"bob"_s, u"pw bob"_s, 0));
    QVERIFY2(m_plain->Start(), qPrintable(m_plain->Log()));
    m_many = std::make_unique<CDovecotServer>();
    QVERIFY(m_many->AddUser(u"carol"_s, u"pw"_s, 10000));
    QVERIFY2(m_many->Start(), qPrintable(m_many->Log()));
    // TLS with a certificate for the address the client asks, and for another host name.
    m_good = std::make_unique<CDovecotServer>();
    QVERIFY(m_good->AddUser(u"anna"_s, u"pw anna"_s, 3));
    QVERIFY2(m_good->Start(u"127.0.0.1"_s), qPrintable(m_good->Log()));
    m_other = std::make_unique<CDovecotServer>();
    QVERIFY(m_other->AddUser(u"anna"_s, u"pw anna"_s, 3));
    QVERIFY2(m_other->Start(u"mail.example.org"_s), qPrintable(m_other->Log()));
}

void TestMailCheck::dialCheckShowsCountNoMailAndError()
{
    Settings settings;
    settings.Account(m_plain->Port(), u"anna"_s, u"pw anna"_s);
    QCOMPARE(RunDialCheck(settings), QStringList{kCount3});

    settings.Account(m_plain->Port(), u"bob"_s, u"pw bob"_s);
    QCOMPARE(RunDialCheck(settings), QStringList{u"There are no new emails."_s});

    settings.Account(m_plain->Port(), u"anna"_s, u"wrong"_s);
    QCOMPARE(RunDialCheck(settings), QStringList{ErrorWith(CMailFailure::LoginRefused)});

    // A protection this version does not know is never clear text: TLS to a plain server
    // fails.
    settings.Account(m_plain->Port(), u"anna"_s, u"pw anna"_s, 7);
    const QStringList tlsToPlain = RunDialCheck(settings);
    QCOMPARE(tlsToPlain.size(), 1);
    QVERIFY2(tlsToPlain.first().startsWith(kError + u'\n'), qPrintable(tlsToPlain.first()));

    // No server stored: no check, and the window says what is missing.
    settings.store.Write(Keys::MServer, QString());
    const int started = CMailCheck::Started();
    QCOMPARE(RunDialCheck(settings), QStringList{CMailDialCheck::NoServerText()});
    QCOMPARE(CMailCheck::Started(), started);
}

void TestMailCheck::backgroundCheckReachesTheMonitor()
{
    Settings settings;
    settings.Account(m_plain->Port(), u"anna"_s, u"pw anna"_s);
    CScriptedRemoteAccess ras;
    CRecordingSink sink;
    CRecordingSound sound;
    CMonitorWithWork withWork(settings.store, ras, sink, sound);
    CConnectionMonitor& monitor = withWork.monitor;

    monitor.StartMailCheck();
    QTRY_COMPARE_WITH_TIMEOUT(sink.mailCount, kCount3, 30000);
    QCOMPARE(sink.mailPicture, int(CMonitorSink::PictureMail));
    QCOMPARE(sink.mailTooltip, kCount3);

    // A wrong password shows the error picture; the count stays.
    settings.store.Write(Keys::MPassword, u"wrong"_s);
    monitor.StartMailCheck();
    QTRY_COMPARE_WITH_TIMEOUT(sink.mailPicture, int(CMonitorSink::PictureMailError), 30000);
    // The tooltip tells why, below the old text.
    QCOMPARE(sink.mailTooltip, u"Error connecting to the email server.\n"_s +
                                   CMailFailure::Text(CMailFailure::LoginRefused));
    QCOMPARE(sink.mailCount, kCount3);
    QTRY_COMPARE(CMailCheck::Running(), 0);

    // The mail icon's "Preferences" re-apply starts and stops the periodic check at once.
    settings.store.Write(Keys::CheckMail, 1);
    settings.store.Write(Keys::CMailTime, 3);
    monitor.ReArm();
    QVERIFY(monitor.Timer(CConnectionMonitor::MailTimer).isActive());
    QCOMPARE(monitor.Timer(CConnectionMonitor::MailTimer).interval(), 3 * 60000);
    settings.store.Write(Keys::CheckMail, 0);
    monitor.ReArm();
    QVERIFY(!monitor.Timer(CConnectionMonitor::MailTimer).isActive());
}

void TestMailCheck::fiveDigitCountShowsNothing()
{
    Settings settings;
    settings.Account(m_many->Port(), u"carol"_s, u"pw"_s);

    // The dial window keeps waiting: nothing it would show.
    QCOMPARE(RunDialCheck(settings), QStringList());

    // The monitor gets the count but presents nothing either.
    CScriptedRemoteAccess ras;
    CRecordingSink sink;
    CRecordingSound sound;
    CMonitorWithWork withWork(settings.store, ras, sink, sound);
    CConnectionMonitor& monitor = withWork.monitor;
    monitor.StartMailCheck();
    QTRY_COMPARE_WITH_TIMEOUT(monitor.MailResult(), u"10000"_s, 60000);
    QTRY_COMPARE(CMailCheck::Running(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(sink.mailPicture, 0);
    QCOMPARE(sink.mailCount, QString());
}

void TestMailCheck::tlsChecksTheServersName()
{
    CDovecotServer& good = *m_good;
    CPop3Client::Options trusting;
    trusting.authorities = good.Authority();
    QCOMPARE(trusting.authorities.size(), 1);

    Settings settings;
    settings.Account(good.TlsPort(), u"anna"_s, u"pw anna"_s, 2);
    QCOMPARE(RunDialCheck(settings, trusting), QStringList{kCount3});
    settings.Account(good.Port(), u"anna"_s, u"pw anna"_s, 1);
    QCOMPARE(RunDialCheck(settings, trusting), QStringList{kCount3});
    // An authority the client does not know is refused, with the certificate's
    // fingerprint; not trusting it leaves nothing stored.
    CScriptedMessageBox boxes;
    QCOMPARE(RunDialCheck(settings), QStringList{ErrorWith(CMailFailure::CertificateUntrusted,
                                                           Sha256(good.Certificate()))});
    QCOMPARE(boxes.Unanswered(), 1);
    QCOMPARE(settings.store.Read(Keys::MCertPin), QString());

    // A certificate for another host, from a trusted authority: refused in both modes, and
    // the server never sees a login.
    CDovecotServer& other = *m_other;
    CPop3Client::Options trustingOther;
    trustingOther.authorities = other.Authority();
    for (const int security : {1, 2}) {
        settings.Account(security == 2 ? other.TlsPort() : other.Port(), u"anna"_s, u"pw anna"_s,
                         security);
        QCOMPARE(RunDialCheck(settings, trustingOther),
                 QStringList{
                     ErrorWith(CMailFailure::CertificateOtherName, Sha256(other.Certificate()))});
    }
    QVERIFY2(!other.Log().contains(u"Login: user=<anna>"_s), qPrintable(other.Log()));
    QVERIFY2(!other.Log().contains(u"auth failed"_s), qPrintable(other.Log()));
    // The same log does show a login that did happen.
    QVERIFY2(good.Log().contains(u"Login: user=<anna>"_s), qPrintable(good.Log()));
}

void TestMailCheck::closedCheckDropsItsResult()
{
    Settings settings;
    settings.Account(m_plain->Port(), u"anna"_s, u"pw anna"_s);
    // Several checks at once, each closed before its result: nothing is delivered to a
    // check that is gone, and every worker ends.
    const int started = CMailCheck::Started();
    for (int i = 0; i < 4; ++i) {
        auto check = std::make_unique<CMailDialCheck>(settings.store, settings.credentials);
        QSignalSpy finished(check.get(), &CDialCheck::Finished);
        check->Start();
        QTRY_VERIFY(CMailCheck::Started() > started + i);
        check.reset();
    }
    QTRY_COMPARE_WITH_TIMEOUT(CMailCheck::Running(), 0, 30000);
    QCoreApplication::processEvents();
    // Overlapping checks that stay each get their own result.
    auto first = std::make_unique<CMailDialCheck>(settings.store, settings.credentials);
    auto second = std::make_unique<CMailDialCheck>(settings.store, settings.credentials);
    QSignalSpy firstDone(first.get(), &CDialCheck::Finished);
    QSignalSpy secondDone(second.get(), &CDialCheck::Finished);
    first->Start();
    second->Start();
    QTRY_COMPARE_WITH_TIMEOUT(firstDone.count(), 1, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(secondDone.count(), 1, 30000);
    QCOMPARE(firstDone.at(0).at(0).toString(), kCount3);
    QCOMPARE(secondDone.at(0).at(0).toString(), kCount3);
}

void TestMailCheck::noServerNoCheck()
{
    // Nothing to ask without a server: no worker, no result, nothing logged.
    auto slot = std::make_shared<CMailResultSlot>();
    // Shared with the receiver: a worker that should not exist may still deliver late.
    auto delivered = std::make_shared<std::atomic<int>>(0);
    slot->Set([delivered](const QString&) { ++*delivered; });
    const int started = CMailCheck::Started();
    CMailAccount account;
    account.user = u"anna"_s;
    {
        const LogCounter log;
        QVERIFY(!CMailCheck::Start(account, slot));
        QCOMPARE(LogCounter::count, 0);
    }
    QCOMPARE(CMailCheck::Started(), started);
    QCOMPARE(CMailCheck::Running(), 0);
    QCOMPARE(delivered->load(), 0);
    slot->Clear();
}

void TestMailCheck::untrustedCertificateCanBePinned()
{
    CDovecotServer& good = *m_good;
    const QByteArray goodSha = Sha256(good.Certificate());
    QCOMPARE(goodSha.size(), 32);
    const QString refused = ErrorWith(CMailFailure::CertificateUntrusted, goodSha);
    Settings settings;
    settings.Account(good.TlsPort(), u"anna"_s, u"pw anna"_s, 2);

    // Trusted from the check window: the question names server, port and fingerprint.
    CScriptedMessageBox boxes;
    boxes.Answer(CMessageBox::Answer::Yes);
    QCOMPARE(RunDialCheck(settings),
             (QStringList{refused, refused + u"\n\nThis certificate is trusted now. Check mail "
                                             "again."_s}));
    QCOMPARE(boxes.Shown().size(), 1);
    const QString question = boxes.Shown().first().text;
    for (const QString& part :
         {u"127.0.0.1"_s, QString::number(good.TlsPort()), CMailFailure::Fingerprint(goodSha)})
        QVERIFY2(question.contains(part), qPrintable(question));
    QCOMPARE(settings.store.Read(Keys::MCertPin),
             u"127.0.0.1:%1 %2"_s.arg(good.TlsPort()).arg(CMailFailure::Fingerprint(goodSha)));

    // From now on exactly that certificate is accepted, by the window and in the background.
    boxes.Clear();
    QCOMPARE(RunDialCheck(settings), QStringList{kCount3});
    CScriptedRemoteAccess ras;
    CRecordingSink sink;
    CRecordingSound sound;
    {
        CMonitorWithWork withWork(settings.store, ras, sink, sound);
        withWork.monitor.StartMailCheck();
        QTRY_COMPARE_WITH_TIMEOUT(sink.mailCount, kCount3, 30000);
        QTRY_COMPARE(CMailCheck::Running(), 0);
    }
    QCOMPARE(boxes.Shown().size(), 0);

    // A pin that does not match (the certificate changed) is refused again, with the
    // fingerprint of the certificate the server shows now; declining keeps the pin.
    QByteArray changed = goodSha;
    changed[0] = char(changed[0] ^ 0x5a);
    const QString changedPin = CMailAccount::PinText(u"127.0.0.1"_s, good.TlsPort(), changed);
    settings.store.Write(Keys::MCertPin, changedPin);
    boxes.Answer(CMessageBox::Answer::No);
    QCOMPARE(RunDialCheck(settings), QStringList{refused});
    QCOMPARE(settings.store.Read(Keys::MCertPin), changedPin);

    // Another server's certificate under the pin of this one is refused with its own
    // fingerprint.
    CDovecotServer& other = *m_other;
    settings.Account(other.TlsPort(), u"anna"_s, u"pw anna"_s, 2);
    settings.store.Write(Keys::MCertPin,
                         CMailAccount::PinText(u"127.0.0.1"_s, other.TlsPort(), goodSha));
    QCOMPARE(RunDialCheck(settings), QStringList{ErrorWith(CMailFailure::CertificateUntrusted,
                                                           Sha256(other.Certificate()))});
    QVERIFY2(!other.Log().contains(u"Login: user=<anna>"_s), qPrintable(other.Log()));
}

void TestMailCheck::startTlsOnTlsPortFailsFast()
{
    // The TLS port waits for a handshake and says nothing: STARTTLS there gives up after
    // the greeting time-out, long before the reply time-out.
    Settings settings;
    settings.Account(m_good->TlsPort(), u"anna"_s, u"pw anna"_s, 1);
    CPop3Client::Options options;
    options.replyTimeoutMs = 20000;
    options.greetingTimeoutMs = 500;
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(RunDialCheck(settings, options), QStringList{ErrorWith(CMailFailure::NoGreeting)});
    QVERIFY2(elapsed.elapsed() < 10000, qPrintable(QString::number(elapsed.elapsed())));
}

QTEST_MAIN(TestMailCheck)
#include "tst_mailcheck.moc"
