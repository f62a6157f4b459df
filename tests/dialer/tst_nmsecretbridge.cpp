#include "common/settingskeys.h"
#include "common/settingsstore.h"
#include "dialer/backends/networkmanager/nmsecretbridge.h"
#include "dialer/credentialstore.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// What NetworkManager's secret agent is told for an entry: the dial's own credentials
// before the stored ones, the stored ones from the program's credential store (here the
// settings file: no keyring is looked for).
class TestNmSecretBridge : public QObject {
    Q_OBJECT

private slots:
    void answersForEntry_data();
    void answersForEntry();
};

void TestNmSecretBridge::answersForEntry_data()
{
    QTest::addColumn<QString>("dialed"); // the entry being dialled; empty: no dial
    QTest::addColumn<QString>("dialUser");
    QTest::addColumn<QString>("dialPassword");
    QTest::addColumn<bool>("dialEnded");
    QTest::addColumn<bool>("withStore");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("atOnce");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");

    const QString home = u"Home ISP"_s;
    QTest::newRow("no dial: the stored ones")
        << QString() << QString() << QString() << false << true << home << false << true
        << u"alice"_s << u"s3cret"_s;
    QTest::newRow("the dial's own come first") << home << u"bob"_s << u"pw"_s << false << true
                                               << home << true << true << u"bob"_s << u"pw"_s;
    QTest::newRow("a password alone is enough") << home << QString() << u"pw"_s << false << true
                                                << home << true << true << QString() << u"pw"_s;
    QTest::newRow("a dial without any: the stored ones")
        << home << QString() << QString() << false << true << home << false << true << u"alice"_s
        << u"s3cret"_s;
    QTest::newRow("another entry: its stored ones")
        << home << u"bob"_s << u"pw"_s << false << true << u"DSL"_s << false << false << QString()
        << QString();
    QTest::newRow("after the dial: the stored ones")
        << home << u"bob"_s << u"pw"_s << true << true << home << false << true << u"alice"_s
        << u"s3cret"_s;
    QTest::newRow("no store: nothing") << QString() << QString() << QString() << false << false
                                       << home << true << false << QString() << QString();
    QTest::newRow("no store: the dial's own") << home << u"bob"_s << u"pw"_s << false << false
                                              << home << true << true << u"bob"_s << u"pw"_s;
}

void TestNmSecretBridge::answersForEntry()
{
    QFETCH(QString, dialed);
    QFETCH(QString, dialUser);
    QFETCH(QString, dialPassword);
    QFETCH(bool, dialEnded);
    QFETCH(bool, withStore);
    QFETCH(QString, asked);
    QFETCH(bool, atOnce);
    QFETCH(bool, found);
    QFETCH(QString, user);
    QFETCH(QString, password);

    QTemporaryDir dir;
    CSettingsStore settings(dir.filePath(u"ov.ini"_s));
    settings.Write(Keys::EntryUser(u"Home ISP"_s), u"alice"_s);
    settings.Write(Keys::EntryPassword(u"Home ISP"_s), u"s3cret"_s);
    auto credentials = std::make_unique<CCredentialStore>(&settings, QDBusConnection(u"no bus"_s));

    CNmSecretBridge bridge(QDBusConnection(u"no bus"_s), withStore ? credentials.get() : nullptr);
    if (!dialed.isEmpty())
        bridge.StartDial(dialed, dialUser, dialPassword);
    if (dialEnded)
        bridge.EndDial();

    bool answered = false;
    bool gotFound = false;
    QString gotUser;
    QString gotPassword;
    bridge.CredentialsFor(asked, [&](bool f, const QString& u, const QString& p) {
        answered = true;
        gotFound = f;
        gotUser = u;
        gotPassword = p;
    });
    QCOMPARE(answered, atOnce);
    QTRY_VERIFY(answered);
    QCOMPARE(gotFound, found);
    QCOMPARE(gotUser, user);
    QCOMPARE(gotPassword, password);
}

QTEST_GUILESS_MAIN(TestNmSecretBridge)
#include "tst_nmsecretbridge.moc"
