#pragma once

#include "dialer/credentialstore.h"
#include "support/privatebus.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private session bus, with a real Secret Service on it (gnome-keyring-daemon, its login
// keyring unlocked with a known password) when asked for. HOME and XDG_RUNTIME_DIR of the
// daemon are folders of its own, so it needs no desktop and touches no real keyring.
class CKeyringSession {
public:
    CKeyringSession();
    ~CKeyringSession();

    // Empty when dbus-daemon, gnome-keyring-daemon and secret-tool are there; else what is
    // missing.
    static QString MissingTools();

    // Starts the bus; its address is Address() afterwards.
    bool StartBus();
    // Starts the keyring on the bus; true once it owns the Secret Service's name.
    bool StartKeyring();
    // Points this process's session bus at the private one; before anything uses it.
    void Export() const;
    QByteArray Address() const { return m_address; }

    // Stops (SIGSTOP) or resumes the keyring daemon.
    bool Freeze(bool frozen) const;

    // The password stored in the keyring for the entry, read by secret-tool (another
    // program); a null string when there is none.
    QString
    Lookup(const QString& entry,
           const QString& service = QString::fromLatin1(CCredentialStore::kKeyringService)) const;
    // Stores a password with secret-tool, with the attributes the program's library gives.
    bool Store(const QString& entry, const QString& password) const;

private:
    QProcessEnvironment Environment() const;

    QTemporaryDir m_dir;
    QByteArray m_address;
    CPrivateBus m_bus;
    std::unique_ptr<QProcess> m_keyring;
};
