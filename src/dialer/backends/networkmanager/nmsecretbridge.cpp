#include "dialer/backends/networkmanager/nmsecretbridge.h"

#include "dialer/credentialstore.h"

#include <utility>

CNmSecretBridge::CNmSecretBridge(QDBusConnection bus, CCredentialStore* credentials)
    : m_credentials(credentials)
{
    CNmSecretAgent::RegisterTypes();
    m_agent = std::make_unique<CNmSecretAgent>(
        std::move(bus), [this](const QString& entry, CNmSecretAgent::CredentialsReply reply) {
            CredentialsFor(entry, std::move(reply));
        });
}

CNmSecretBridge::~CNmSecretBridge() = default;

void CNmSecretBridge::Register()
{
    m_agent->Register();
}

void CNmSecretBridge::StartDial(const QString& entry, const QString& user, const QString& password)
{
    m_dialing = true;
    m_entry = entry;
    m_user = user;
    m_password = password;
}

void CNmSecretBridge::EndDial()
{
    m_dialing = false;
    m_entry.clear();
    m_user.clear();
    m_password.clear();
}

void CNmSecretBridge::CredentialsFor(const QString& entry, CNmSecretAgent::CredentialsReply reply)
{
    // The dial's own credentials come first: the stored ones may already have been emptied
    // when the user does not want them remembered.
    if (m_dialing && m_entry == entry && (!m_user.isEmpty() || !m_password.isEmpty())) {
        reply(true, m_user, m_password);
        return;
    }
    if (!m_credentials) {
        reply(false, QString(), QString());
        return;
    }
    m_credentials->Load(entry,
                        [reply = std::move(reply)](const QString& user, const QString& password) {
                            reply(!user.isEmpty() || !password.isEmpty(), user, password);
                        });
}
