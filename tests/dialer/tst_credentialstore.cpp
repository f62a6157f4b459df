#include "support/keyringsession.h"

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/dialsession.h"
#include "support/scriptedremoteaccess.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Place = CCredentialStore::Place;

struct Loaded {
    QString user;
    QString password;
};

// Waits for a load's answer.
std::optional<Loaded> LoadNow(CCredentialStore& store, const QString& entry)
{
    std::optional<Loaded> out;
    store.Load(entry, [&out](const QString& user, const QString& password) {
        out = Loaded{user, password};
    });
    if (!QTest::qWaitFor([&out] { return out.has_value(); }, 15000))
        qWarning("the load of %s was not answered", qPrintable(entry));
    return out;
}

// Waits for a save's answer: where the password went ("keyring", "file"), or "failed".
QString SaveNow(CCredentialStore& store, const QString& entry, const QString& user,
                const QString& password)
{
    QString out;
    store.Save(entry, user, password, [&out](bool saved, Place place) {
        out = !saved                    ? QStringLiteral("failed")
              : place == Place::Keyring ? QStringLiteral("keyring")
                                        : QStringLiteral("file");
    });
    if (!QTest::qWaitFor([&out] { return !out.isEmpty(); }, 15000))
        qWarning("the save of %s was not answered", qPrintable(entry));
    return out;
}

QByteArray FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCredentialStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savedPasswordGoesToKeyring();
    void oldPasswordInFileMovesToKeyring();
    void emptyPasswordErasesIt();
    void withoutSessionBusPasswordStaysInFile();
    void busWithoutSecretServiceKeepsFile();
    void answersLaterAndInOrder();
    void goneStoreCallsNoHandler();
    void dialDoesNotWaitForTheSave();
    void anyPairOfKeys();

private:
    CKeyringSession m_keyring;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSettingsStore> m_settings;
};

void TestCredentialStore::initTestCase()
{
    // The keyring is part of the build's dependencies: a missing one fails, not skips.
    const QString missing = CKeyringSession::MissingTools();
    QVERIFY2(missing.isEmpty(), qPrintable(missing));
    QVERIFY(m_keyring.StartBus());
    m_keyring.Export();
    QVERIFY(m_keyring.StartKeyring());
}

void TestCredentialStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CSettingsStore>(m_dir->filePath(u"ov.ini"_s));
}

void TestCredentialStore::cleanup()
{
    m_settings.reset();
    m_dir.reset();
}

void TestCredentialStore::savedPasswordGoesToKeyring()
{
    CCredentialStore store(m_settings.get());
    QCOMPARE(SaveNow(store, u"Home ISP"_s, u"anna"_s, u"s3cret pw"_s), u"keyring"_s);
    // Another program reads it from the keyring; the settings file has only the user name.
    QCOMPARE(m_keyring.Lookup(u"Home ISP"_s), u"s3cret pw"_s);
    QCOMPARE(m_settings->Read(Keys::EntryUser(u"Home ISP"_s)), u"anna"_s);
    QVERIFY(!FileText(m_settings->Path()).contains("s3cret"));
    QVERIFY(!FileText(m_settings->Path()).contains("Home ISPPassword"));

    // A new store (the next start) gets both back; other entries have nothing.
    CCredentialStore later(m_settings.get());
    const auto loaded = LoadNow(later, u"Home ISP"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->user, u"anna"_s);
    QCOMPARE(loaded->password, u"s3cret pw"_s);
    const auto other = LoadNow(later, u"Home"_s);
    QVERIFY(other);
    QCOMPARE(other->user, QString());
    QCOMPARE(other->password, QString());

    // A password stored in the keyring by another program is read as well.
    QVERIFY(m_keyring.Store(u"Work"_s, u"from elsewhere"_s));
    QCOMPARE(LoadNow(later, u"Work"_s)->password, u"from elsewhere"_s);
}

void TestCredentialStore::oldPasswordInFileMovesToKeyring()
{
    // A stale password in the keyring, and a newer one in the file, as an older version of
    // the program wrote it.
    CCredentialStore store(m_settings.get());
    QCOMPARE(SaveNow(store, u"DSL"_s, u"bob"_s, u"stale"_s), u"keyring"_s);
    QVERIFY(m_settings->Write(Keys::EntryPassword(u"DSL"_s), u"old pw"_s));
    auto loaded = LoadNow(store, u"DSL"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->user, u"bob"_s);
    QCOMPARE(loaded->password, u"old pw"_s); // the file's is the newer one
    QCOMPARE(m_keyring.Lookup(u"DSL"_s), u"stale"_s);

    // The next save moves it: in the keyring, out of the file.
    QCOMPARE(SaveNow(store, u"DSL"_s, u"bob"_s, u"old pw"_s), u"keyring"_s);
    QCOMPARE(m_keyring.Lookup(u"DSL"_s), u"old pw"_s);
    QCOMPARE(m_settings->Read(Keys::EntryPassword(u"DSL"_s)), QString());
    QVERIFY(!FileText(m_settings->Path()).contains("old pw"));
    QCOMPARE(m_settings->Read(Keys::EntryUser(u"DSL"_s)), u"bob"_s);
    loaded = LoadNow(store, u"DSL"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->password, u"old pw"_s);
}

void TestCredentialStore::emptyPasswordErasesIt()
{
    CCredentialStore store(m_settings.get());
    QCOMPARE(SaveNow(store, u"Mobile"_s, u"carol"_s, u"pw"_s), u"keyring"_s);
    QCOMPARE(m_keyring.Lookup(u"Mobile"_s), u"pw"_s);
    QVERIFY(m_settings->Write(Keys::EntryPassword(u"Mobile"_s), u"in file too"_s));
    QCOMPARE(SaveNow(store, u"Mobile"_s, u"carol"_s, QString()), u"keyring"_s);
    QCOMPARE(m_keyring.Lookup(u"Mobile"_s), QString());
    QCOMPARE(m_settings->Read(Keys::EntryPassword(u"Mobile"_s)), QString());
    const auto loaded = LoadNow(store, u"Mobile"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->user, u"carol"_s);
    QCOMPARE(loaded->password, QString());
    // Erasing what is not there is no failure.
    QCOMPARE(SaveNow(store, u"Never saved"_s, QString(), QString()), u"keyring"_s);
}

void TestCredentialStore::withoutSessionBusPasswordStaysInFile()
{
    // A connection never made: no session bus at all.
    CCredentialStore store(m_settings.get(), QDBusConnection(u"no session bus"_s));
    QCOMPARE(SaveNow(store, u"No bus"_s, u"anna"_s, u"file pw"_s), u"file"_s);
    QCOMPARE(m_settings->Read(Keys::EntryPassword(u"No bus"_s)), u"file pw"_s);
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(m_settings->Path()).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0600));
    QCOMPARE(m_keyring.Lookup(u"No bus"_s), QString());
    auto loaded = LoadNow(store, u"No bus"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->password, u"file pw"_s);
    // Emptied, it leaves the file.
    QCOMPARE(SaveNow(store, u"No bus"_s, u"anna"_s, QString()), u"file"_s);
    QVERIFY(!FileText(m_settings->Path()).contains("No busPassword"));
    loaded = LoadNow(store, u"No bus"_s);
    QVERIFY(loaded);
    QCOMPARE(loaded->user, u"anna"_s);
    QCOMPARE(loaded->password, QString());
}

void TestCredentialStore::busWithoutSecretServiceKeepsFile()
{
    // A session bus on which no Secret Service runs nor can be started.
    CKeyringSession bare;
    QVERIFY(bare.StartBus());
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromUtf8(bare.Address()), u"bare session"_s);
    QVERIFY(bus.isConnected());
    {
        CCredentialStore store(m_settings.get(), bus);
        QCOMPARE(SaveNow(store, u"Bare"_s, u"dave"_s, u"bare pw"_s), u"file"_s);
        QCOMPARE(m_settings->Read(Keys::EntryPassword(u"Bare"_s)), u"bare pw"_s);
        QCOMPARE(LoadNow(store, u"Bare"_s)->password, u"bare pw"_s);
    }
    QDBusConnection::disconnectFromBus(u"bare session"_s);
    QCOMPARE(m_keyring.Lookup(u"Bare"_s), QString());
}

void TestCredentialStore::answersLaterAndInOrder()
{
    CCredentialStore store(m_settings.get());
    QStringList events;
    store.Save(u"Order"_s, u"erin"_s, u"first"_s,
               [&events](bool saved, Place) { events.append(saved ? u"saved"_s : u"failed"_s); });
    store.Load(u"Order"_s, [&events](const QString&, const QString& password) {
        events.append(u"loaded "_s + password);
    });
    store.Save(u"Order"_s, u"erin"_s, u"second"_s,
               [&events](bool saved, Place) { events.append(saved ? u"saved"_s : u"failed"_s); });
    store.Load(u"Order"_s, [&events](const QString&, const QString& password) {
        events.append(u"loaded "_s + password);
    });
    // Nothing is answered during the calls, even what the file alone could answer. The
    // saves run in order; each load answers at once with what the save before it was given.
    QVERIFY(events.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 4, 15000);
    QCOMPARE(events, QStringList({u"loaded first"_s, u"loaded second"_s, u"saved"_s, u"saved"_s}));
    QCOMPARE(LoadNow(store, u"Order"_s)->password, u"second"_s);
}

void TestCredentialStore::goneStoreCallsNoHandler()
{
    bool called = false;
    auto store = std::make_unique<CCredentialStore>(m_settings.get());
    store->Save(u"Gone"_s, u"u"_s, u"p"_s, [&called](bool, Place) { called = true; });
    // Another pair's load waits behind the save (one of the saved pair would not).
    store->Load(u"Gone too"_s, [&called](const QString&, const QString&) { called = true; });
    // Gone while the keyring works on the save: the bus has answered that the Secret
    // Service is there (its pending call is over) and the keyring's job has started, but
    // the keyring is held still.
    QVERIFY(m_keyring.Freeze(true));
    auto resume = qScopeGuard([this] { m_keyring.Freeze(false); });
    QTRY_VERIFY(!store->findChildren<QDBusPendingCallWatcher*>().isEmpty());
    QTRY_VERIFY(store->findChildren<QDBusPendingCallWatcher*>().isEmpty());
    QVERIFY(!called);
    store.reset();
    QVERIFY(m_keyring.Freeze(false));
    // The keyring answers jobs in order: once a later one is answered, so was the save.
    CCredentialStore witness(m_settings.get());
    QVERIFY(LoadNow(witness, u"Other"_s));
    QVERIFY(!called);
    QCOMPARE(m_keyring.Lookup(u"Gone"_s), u"p"_s);
}

// The keyring holds the first save of typed credentials (here: stopped; on a desktop: asking
// for the password of a new keyring). The dial starts at once with them; the save ends
// when the keyring answers, and the dial is not touched by it.
void TestCredentialStore::dialDoesNotWaitForTheSave()
{
    CCredentialStore store(m_settings.get());
    CScriptedRemoteAccess remote;
    QVERIFY(m_settings->Write(Keys::DefaultCon, u"Slow"_s));
    QVERIFY(m_settings->Write(Keys::RememberPassword, 1));
    CDialSession session(*m_settings, remote, store);
    session.Start();

    QVERIFY(m_keyring.Freeze(true));
    auto resume = qScopeGuard([this] { m_keyring.Freeze(false); });
    QString saved;
    store.Save(u"Slow"_s, u"fay"_s, u"typed"_s, [&saved](bool ok, Place place) {
        saved = ok && place == Place::Keyring ? u"keyring"_s : u"other"_s;
    });
    session.Attempt();
    QTRY_COMPARE_WITH_TIMEOUT(remote.dials.size(), 1, 3000);
    QCOMPARE(remote.dials.at(0).user, u"fay"_s);
    QCOMPARE(remote.dials.at(0).password, u"typed"_s);
    QVERIFY(saved.isEmpty());

    QVERIFY(m_keyring.Freeze(false));
    QTRY_COMPARE_WITH_TIMEOUT(saved, u"keyring"_s, 15000);
    QCOMPARE(m_keyring.Lookup(u"Slow"_s), u"typed"_s);
    QCOMPARE(remote.dials.size(), 1);
    QCOMPARE(LoadNow(store, u"Slow"_s)->password, u"typed"_s);
}

void TestCredentialStore::anyPairOfKeys()
{
    // A pair outside the phonebook: user name and password keys of its own, and a keyring
    // item of its own name.
    const CCredentialStore::Slot slot{CNamedKey{u"Settings"_s, u"MUser"_s},
                                      CNamedKey{u"Settings"_s, u"MPassword"_s}, u"POP3"_s,
                                      u"Orvalis mail"_s};
    CCredentialStore store(m_settings.get());
    std::optional<QString> saved;
    store.Save(slot, u"bob"_s, u"mail pw"_s, [&saved](bool ok, Place place) {
        saved = ok && place == Place::Keyring ? u"keyring"_s : u"other"_s;
    });
    QTRY_VERIFY_WITH_TIMEOUT(saved.has_value(), 15000);
    QCOMPARE(*saved, u"keyring"_s);
    QCOMPARE(m_keyring.Lookup(u"POP3"_s, u"Orvalis mail"_s), u"mail pw"_s);
    QCOMPARE(m_settings->Read(CNamedKey{u"Settings"_s, u"MUser"_s}), u"bob"_s);
    QVERIFY(!FileText(m_settings->Path()).contains("mail pw"));
    // A phonebook entry of the same name is another item.
    QCOMPARE(LoadNow(store, u"POP3"_s)->password, QString());

    std::optional<Loaded> loaded;
    store.Load(slot, [&loaded](const QString& user, const QString& password) {
        loaded = Loaded{user, password};
    });
    QTRY_VERIFY_WITH_TIMEOUT(loaded.has_value(), 15000);
    QCOMPARE(loaded->user, u"bob"_s);
    QCOMPARE(loaded->password, u"mail pw"_s);
}

QTEST_GUILESS_MAIN(TestCredentialStore)
#include "tst_credentialstore.moc"
