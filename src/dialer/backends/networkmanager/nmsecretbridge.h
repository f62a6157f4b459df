#pragma once

#include "dialer/backends/networkmanager/nmsecretagent.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

class CCredentialStore;

// Answers NetworkManager's password requests for the program's entries: owns the secret
// agent and gives it, for the entry being dialled, the user name and password given to
// the dial, else the ones stored for the entry (the credential store: the user name in the
// settings, the password in the desktop's keyring or there). Without a store only the
// dial's own credentials are known.
class CNmSecretBridge {
public:
    // credentials is not owned and may be null.
    CNmSecretBridge(QDBusConnection bus, CCredentialStore* credentials);
    ~CNmSecretBridge();
    CNmSecretBridge(const CNmSecretBridge&) = delete;
    CNmSecretBridge& operator=(const CNmSecretBridge&) = delete;

    // Registers the agent with NetworkManager, again whenever NetworkManager (re)starts.
    void Register();

    // The credentials of the dial under way; they beat the stored ones until it ends.
    void StartDial(const QString& entry, const QString& user, const QString& password);
    void EndDial();

    // The entry's credentials, from the dial's own at once or later from the store.
    void CredentialsFor(const QString& entry, CNmSecretAgent::CredentialsReply reply);

private:
    CCredentialStore* m_credentials;
    bool m_dialing = false;
    QString m_entry;
    QString m_user;
    QString m_password;
    std::unique_ptr<CNmSecretAgent> m_agent;
};
