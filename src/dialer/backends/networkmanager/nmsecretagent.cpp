#include "dialer/backends/networkmanager/nmsecretagent.h"

#include "dialer/dbusasynccall.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QPointer>

#include <algorithm>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kAgentManagerPath = QStringLiteral("/org/freedesktop/NetworkManager/AgentManager");
const QString kAgentManagerInterface =
    QStringLiteral("org.freedesktop.NetworkManager.AgentManager");
const QString kNoSecrets = QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.NoSecrets");
const QString kUserCanceled =
    QStringLiteral("org.freedesktop.NetworkManager.SecretAgent.UserCanceled");
const QString kNoSecretsText = QStringLiteral("No credentials are stored for this connection");

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
    // NetworkManager would otherwise wait for these until its own time-out.
    for (const Pending& pending : std::as_const(m_pending))
        m_bus.send(pending.request.createErrorReply(kNoSecrets, kNoSecretsText));
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
        CDBusAsyncCall::MethodCall(kAgentManagerPath, kAgentManagerInterface,
                                   QStringLiteral("Register"), {QString::fromLatin1(kIdentifier)});
    CDBusAsyncCall::Send(m_bus, call, this, [this](const QDBusMessage& reply) {
        m_registered = reply.type() == QDBusMessage::ReplyMessage;
        if (!m_registered)
            qWarning("NetworkManager did not take the secret agent: %s",
                     qPrintable(reply.errorMessage()));
        Q_EMIT RegistrationAnswered(m_registered);
    });
    return true;
}

void CNmSecretAgent::SecretsFor(const NMVariantMapMap& connection, const QString& settingName,
                                SecretsReply done)
{
    const QString entry =
        connection.value(QStringLiteral("connection")).value(QStringLiteral("id")).toString();
    if (!IsCredentialSetting(settingName) || !m_lookup || entry.isEmpty()) {
        done({});
        return;
    }
    m_lookup(entry, [self = QPointer<CNmSecretAgent>(this), settingName, done = std::move(done)](
                        bool found, const QString& user, const QString& password) {
        if (!self)
            return;
        if (!found) {
            done({});
            return;
        }
        QVariantMap secrets;
        if (!user.isEmpty())
            secrets.insert(QStringLiteral("username"), user);
        secrets.insert(QStringLiteral("password"), password);
        done({{settingName, secrets}});
    });
}

NMVariantMapMap CNmSecretAgent::GetSecrets(const NMVariantMapMap& connection,
                                           const QDBusObjectPath& connectionPath,
                                           const QString& settingName, const QStringList& hints,
                                           uint flags)
{
    Q_UNUSED(hints);
    Q_UNUSED(flags);
    if (!calledFromDBus())
        return {};
    // Answered when the credentials are there, which may be after this returns.
    setDelayedReply(true);
    const quint64 id = m_nextId++;
    m_pending.append({id, connectionPath.path(), settingName, message()});
    SecretsFor(connection, settingName,
               [this, id](const NMVariantMapMap& secrets) { Answer(id, secrets); });
    return {};
}

void CNmSecretAgent::Answer(quint64 id, const NMVariantMapMap& secrets)
{
    const auto it = std::find_if(m_pending.begin(), m_pending.end(),
                                 [id](const Pending& pending) { return pending.id == id; });
    if (it == m_pending.end())
        return; // cancelled and answered already
    const QDBusMessage request = it->request;
    m_pending.erase(it);
    m_bus.send(secrets.isEmpty() ? request.createErrorReply(kNoSecrets, kNoSecretsText)
                                 : request.createReply(QVariant::fromValue(secrets)));
}

void CNmSecretAgent::CancelGetSecrets(const QDBusObjectPath& connectionPath,
                                      const QString& settingName)
{
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (it->connectionPath == connectionPath.path() && it->settingName == settingName) {
            m_bus.send(it->request.createErrorReply(kUserCanceled,
                                                    QStringLiteral("The request was cancelled")));
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
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
