#pragma once

#include "common/settingskeys.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>
#include <map>

class CSettingsStore;

// The user name and password kept for each phonebook entry.
//
// User names live in the settings file (section "Connections", "<entry>User"). Passwords
// go to the desktop's keyring through the Secret Service when one is on the session bus
// (running, or started by the bus on demand), and to the settings file ("<entry>Password",
// a file private to the user) when none is, or when the keyring refuses to store them.
//
// A password in the settings file is always the newest: it is used before the keyring is
// asked, so passwords written by older versions keep working. The next save of the entry
// moves it to the keyring and removes it from the file.
//
// The keyring answers later, so every operation reports to its handler from the event loop
// of the store's thread, never during the call. Operations run one after another in the
// order they were asked for; a handler whose store is gone is not called.
//
// A load of a pair whose save has not finished yet does not wait for it: it answers at once
// with what the newest of those saves was given. The keyring may take long over a save (it
// may first ask the user for a password for a new keyring), and a dial must not wait for
// the credentials it was just given.
class CCredentialStore : public QObject {
    Q_OBJECT

public:
    enum class Place { SettingsFile, Keyring };

    using LoadHandler = std::function<void(const QString& user, const QString& password)>;
    // saved is false when the password could not be kept anywhere.
    using SaveHandler = std::function<void(bool saved, Place place)>;

    // The keyring items are filed under this service, one per entry, named after it.
    static constexpr const char* kKeyringService = "Orvalis";
    static constexpr const char* kSecretService = "org.freedesktop.secrets";

    // sessionBus is where the Secret Service is looked for; the keyring itself is reached
    // through the session bus of the environment, so both must be the same bus.
    explicit CCredentialStore(CSettingsStore* settings,
                              QDBusConnection sessionBus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);
    ~CCredentialStore() override;

    // The entry's user name and password; empty texts when nothing is stored.
    void Load(const QString& entry, LoadHandler done);
    // Stores both; an empty password removes the stored one from the keyring and the file.
    void Save(const QString& entry, const QString& user, const QString& password,
              SaveHandler done = {});

    // Where one pair of credentials lives: the user name's key and the password's key in
    // the settings file, and the name and service of the password's keyring item. A pair
    // outside the phonebook takes a service of its own, so no entry's name can meet it.
    struct Slot {
        CNamedKey user;
        CNamedKey password;
        QString keyringName;
        QString keyringService = QString::fromLatin1(kKeyringService);
    };
    // The pair of a phonebook entry.
    static Slot EntrySlot(const QString& entry);
    // The same as the entry's Load and Save, for any pair.
    void Load(const Slot& slot, LoadHandler done);
    void Save(const Slot& slot, const QString& user, const QString& password,
              SaveHandler done = {});

private:
    using Operation = std::function<void(std::function<void()> finished)>;

    void Enqueue(Operation operation);
    void RunNext();
    // Tells whether a Secret Service is there (or can be started) to then.
    void CheckKeyring(std::function<void(bool available)> then);
    void LoadFromKeyring(const Slot& slot, const QString& user, LoadHandler done,
                         std::function<void()> finished);
    void SaveToKeyring(const Slot& slot, const QString& password, SaveHandler done,
                       std::function<void()> finished);
    void EraseFromKeyring(const Slot& slot, SaveHandler done, std::function<void()> finished);
    void SaveToFile(const Slot& slot, const QString& password, const SaveHandler& done);

    // What the saves not yet finished were given, per pair.
    struct Pending {
        QString user;
        QString password;
        int saves = 0;
    };
    static QString PairName(const Slot& slot);
    void SaveFinished(const QString& pair);

    CSettingsStore* m_settings;
    QDBusConnection m_sessionBus;
    std::map<QString, Pending> m_pending;
    std::deque<Operation> m_queue;
    bool m_running = false;
};
