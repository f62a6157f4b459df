#include "support/nmmockbus.h"

#include "dialer/backends/networkmanager/nmsecretagent.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");
const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");

} // namespace

CNmMockBus::CNmMockBus() = default;

CNmMockBus::~CNmMockBus()
{
    StopMock();
    m_bus.Stop();
}

QString CNmMockBus::MissingTools()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    QProcess probe;
    probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import dbusmock")});
    if (!probe.waitForFinished() || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        return QStringLiteral("python3-dbusmock is not installed");
    return {};
}

bool CNmMockBus::StartBus()
{
    if (!m_dir.isValid())
        return false;
    const QByteArray address = m_bus.Start(CPrivateBus::OpenConfig("system"),
                                           m_dir.filePath(QStringLiteral("system_bus_socket")));
    if (address.isEmpty())
        return false;
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address);
    CNmSecretAgent::RegisterTypes();
    return QDBusConnection::systemBus().isConnected();
}

bool CNmMockBus::StartMock(const QString& templatePath)
{
    StopMock();
    m_mock = std::make_unique<QProcess>();
    // The mock logs every call on its output: only its errors are worth seeing.
    m_mock->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_mock->setStandardOutputFile(QProcess::nullDevice());
    m_mock->start(kPython, {QStringLiteral("-m"), QStringLiteral("dbusmock"),
                            QStringLiteral("--system"), QStringLiteral("-t"), templatePath});
    return m_mock->waitForStarted();
}

void CNmMockBus::StopMock()
{
    if (!m_mock)
        return;
    m_mock->kill();
    m_mock->waitForFinished();
    m_mock.reset();
}

qint64 CNmMockBus::MockPid() const
{
    return m_mock ? m_mock->processId() : 0;
}

bool CNmMockBus::IsServiceUp()
{
    QDBusConnectionInterface* bus = QDBusConnection::systemBus().interface();
    return bus && bus->isServiceRegistered(kService).value();
}

QDBusMessage CNmMockBus::MockCall(const QString& method, const QVariantList& arguments)
{
    return Call(kManagerPath, QStringLiteral("org.freedesktop.DBus.Mock"), method, arguments);
}

QDBusMessage CNmMockBus::Call(const QString& path, const QString& interfaceName,
                              const QString& method, const QVariantList& arguments)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, interfaceName, method);
    call.setArguments(arguments);
    return QDBusConnection::systemBus().call(call, QDBus::Block, 10000);
}

QString CNmMockBus::AddProfile(const QString& id, const QString& type, int metered,
                               const QString& secretSetting)
{
    NMVariantMapMap settings;
    settings[QStringLiteral("connection")] = {
        {QStringLiteral("id"), id},
        {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)},
        {QStringLiteral("type"), type},
        {QStringLiteral("metered"), metered},
        {QStringLiteral("autoconnect"), false},
    };
    if (!secretSetting.isEmpty())
        settings[secretSetting] = {{QStringLiteral("password-flags"), 2U}};
    const QDBusMessage reply =
        Call(QStringLiteral("/org/freedesktop/NetworkManager/Settings"),
             QStringLiteral("org.freedesktop.NetworkManager.Settings"),
             QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().value<QDBusObjectPath>().path();
}

QStringList CNmMockBus::ActiveConnections()
{
    const QDBusMessage reply = Call(
        kManagerPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
        {QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("ActiveConnections")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant value = reply.arguments().constFirst().value<QDBusVariant>().variant();
    const auto paths = qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>());
    QStringList out;
    for (const QDBusObjectPath& path : paths)
        out.append(path.path());
    return out;
}
