#include "dialer/nmsecretagent.h"

#include "dialer/nmasynccall.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kAgentManagerPath = QStringLiteral("/org/freedesktop/NetworkManager/AgentManager");
const QString kAgentManagerInterface =
    QStringLiteral("org.freedesktop.NetworkManager.AgentManager");
const QString kNoSecrets = QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.NoSecrets");

// The settings whose user name and password the program keeps.
bool IsCredentialSetting(const QString& name)
{
    return name == u"gsm" || name == u"cdma" || name == u"pppoe";
}

} // namespace

CNmSecretAgent::CNmSecretAgent(QDBusConnection bus, CredentialsLookup lookup, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_lookup(std::move(lookup))
{
    RegisterTypes();
}

CNmSecretAgent::~CNmSecretAgent()
{
    if (m_exported) {
        const QDBusMessage unregister = QDBusMessage::createMethodCall(
            kService, kAgentManagerPath, kAgentManagerInterface, QStringLiteral("Unregister"));
        m_bus.call(unregister, QDBus::NoBlock);
        m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
    }
}

void CNmSecretAgent::RegisterTypes()
{
    qDBusRegisterMetaType<NMVariantMapMap>();
}

bool CNmSecretAgent::Register()
{
    if (!m_bus.isConnected())
        return false;
    if (!m_exported) {
        m_exported = m_bus.registerObject(QString::fromLatin1(kObjectPath), this,
                                          QDBusConnection::ExportAllSlots);
        if (!m_exported)
            return false;
    }
    m_registered = false;
    const QDBusMessage call =
        CNmAsyncCall::MethodCall(kAgentManagerPath, kAgentManagerInterface,
                                 QStringLiteral("Register"), {QString::fromLatin1(kIdentifier)});
    CNmAsyncCall::Send(m_bus, call, this, [this](const QDBusMessage& reply) {
        m_registered = reply.type() == QDBusMessage::ReplyMessage;
        if (!m_registered)
            qWarning("NetworkManager did not take the secret agent: %s",
                     qPrintable(reply.errorMessage()));
        Q_EMIT RegistrationAnswered(m_registered);
    });
    return true;
}

NMVariantMapMap CNmSecretAgent::SecretsFor(const NMVariantMapMap& connection,
                                           const QString& settingName) const
{
    if (!IsCredentialSetting(settingName) || !m_lookup)
        return {};
    const QString entry =
        connection.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString();
    QString user;
    QString password;
    if (entry.isEmpty() || !m_lookup(entry, user, password))
        return {};
    QVariantMap secrets;
    if (!user.isEmpty())
        secrets.insert(QStringLiteral("username"), user);
    secrets.insert(QStringLiteral("password"), password);
    return {{settingName, secrets}};
}

NMVariantMapMap CNmSecretAgent::GetSecrets(const NMVariantMapMap& connection,
                                           const QDBusObjectPath& connectionPath,
                                           const QString& settingName, const QStringList& hints,
                                           uint flags)
{
    Q_UNUSED(connectionPath);
    Q_UNUSED(hints);
    Q_UNUSED(flags);
    NMVariantMapMap secrets = SecretsFor(connection, settingName);
    if (secrets.isEmpty() && calledFromDBus())
        sendErrorReply(kNoSecrets, QStringLiteral("No credentials are stored for this connection"));
    return secrets;
}

void CNmSecretAgent::CancelGetSecrets(const QDBusObjectPath& connectionPath,
                                      const QString& settingName)
{
    // Every request is answered at once, so there is nothing to cancel.
    Q_UNUSED(connectionPath);
    Q_UNUSED(settingName);
}

void CNmSecretAgent::SaveSecrets(const NMVariantMapMap& connection,
                                 const QDBusObjectPath& connectionPath)
{
    // The credentials are kept by the program's own settings, not through NetworkManager.
    Q_UNUSED(connection);
    Q_UNUSED(connectionPath);
}

void CNmSecretAgent::DeleteSecrets(const NMVariantMapMap& connection,
                                   const QDBusObjectPath& connectionPath)
{
    Q_UNUSED(connection);
    Q_UNUSED(connectionPath);
}
