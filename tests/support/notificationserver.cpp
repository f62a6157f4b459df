#include "support/notificationserver.h"

#include <QStandardPaths>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kServerConnection = QStringLiteral("orvalis-test-notification-server");
const QString kClientConnection = QStringLiteral("orvalis-test-notification-client");
// Why a notification was closed: on request.
constexpr uint kClosedByCall = 3;

} // namespace

CNotificationServer::CNotificationServer() = default;

CNotificationServer::~CNotificationServer()
{
    StopServer();
    QDBusConnection::disconnectFromBus(kServerConnection);
    QDBusConnection::disconnectFromBus(kClientConnection);
    m_bus.Stop();
}

QString CNotificationServer::MissingTools()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    return {};
}

bool CNotificationServer::StartBus()
{
    if (!m_dir.isValid())
        return false;
    m_address = m_bus.Start(CPrivateBus::OpenConfig("session"),
                            m_dir.filePath(QStringLiteral("session_bus_socket")));
    if (m_address.isEmpty())
        return false;
    const QString address = QString::fromUtf8(m_address);
    return QDBusConnection::connectToBus(address, kServerConnection).isConnected() &&
           QDBusConnection::connectToBus(address, kClientConnection).isConnected();
}

QDBusConnection CNotificationServer::ClientBus() const
{
    return QDBusConnection(kClientConnection);
}

bool CNotificationServer::StartServer()
{
    if (m_serving)
        return true;
    QDBusConnection bus(kServerConnection);
    if (!bus.registerObject(kPath, this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) ||
        !bus.registerService(kService))
        return false;
    m_serving = true;
    return true;
}

void CNotificationServer::StopServer()
{
    if (!m_serving)
        return;
    QDBusConnection bus(kServerConnection);
    bus.unregisterService(kService);
    bus.unregisterObject(kPath);
    m_serving = false;
}

void CNotificationServer::InvokeAction(uint id, const QString& actionKey)
{
    Q_EMIT ActionInvoked(id, actionKey);
}

uint CNotificationServer::Notify(const QString& appName, uint replacesId, const QString& icon,
                                 const QString& summary, const QString& body,
                                 const QStringList& actions, const QVariantMap& hints, int timeout)
{
    const uint id = replacesId != 0 ? replacesId : m_nextId++;
    notifications.append({id, appName, replacesId, icon, summary, body, actions, hints, timeout});
    return id;
}

QStringList CNotificationServer::GetCapabilities()
{
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

QString CNotificationServer::GetServerInformation(QString& vendor, QString& version,
                                                  QString& protocolVersion)
{
    vendor = QStringLiteral("Orvalis tests");
    version = QStringLiteral("1");
    protocolVersion = QStringLiteral("1.2");
    return QStringLiteral("test-notifications");
}

void CNotificationServer::CloseNotification(uint id)
{
    closed.append(id);
    Q_EMIT NotificationClosed(id, kClosedByCall);
}
