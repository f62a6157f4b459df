#include "dialer/backends/networkmanager/nmobjectcache.h"

#include "dialer/backends/networkmanager/nmdialprogress.h"
#include "dialer/backends/networkmanager/nmsecretagent.h"
#include "dialer/dbusasynccall.h"
#include "nmactiveproxy.h"
#include "nmdeviceproxy.h"
#include "nmmanagerproxy.h"
#include "nmprofileproxy.h"
#include "nmsettingsproxy.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>

#include <algorithm>
#include <utility>

namespace {

const QString kManagerObject = QString::fromLatin1(CNmObjectCache::kManagerPath);
const QString kManagerInterface = QString::fromLatin1(CNmManagerProxy::staticInterfaceName());
const QString kProfileInterface = QString::fromLatin1(CNmProfileProxy::staticInterfaceName());
const QString kActiveInterface = QString::fromLatin1(CNmActiveProxy::staticInterfaceName());
const QString kDeviceInterface = QString::fromLatin1(CNmDeviceProxy::staticInterfaceName());
// The calls and signals below go by name, not through the generated proxies: a proxy stands
// for one object and finds out NetworkManager's bus owner synchronously when it is made (one
// per profile, connection and device would wait on the bus each time), its property getters
// wait for the answer, and these signals are wanted from every object, also ones not known
// yet; a profile's settings (a{sa{sv}}) are read the same way.
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kGet = QStringLiteral("Get");
const QString kGetAll = QStringLiteral("GetAll");
const QString kPropertiesChanged = QStringLiteral("PropertiesChanged");
const QString kStateChanged = QStringLiteral("StateChanged");
const QString kUpdated = QStringLiteral("Updated");
const QString kGetSettings = QStringLiteral("GetSettings");
const QString kDelete = QStringLiteral("Delete");
const QString kActiveConnections = QStringLiteral("ActiveConnections");

bool IsDialUpType(const QString& type)
{
    static const QStringList kTypes = {QStringLiteral("gsm"), QStringLiteral("cdma"),
                                       QStringLiteral("pppoe"), QStringLiteral("adsl"),
                                       QStringLiteral("bluetooth")};
    return kTypes.contains(type);
}

QString DeviceTypeName(uint type)
{
    switch (type) {
    case 1:
    case 20:
        return QStringLiteral("ethernet");
    case 2:
        return QStringLiteral("wifi");
    case 5:
        return QStringLiteral("bluetooth");
    case 8:
        return QStringLiteral("modem");
    case 16:
        return QStringLiteral("tun");
    case 23:
        return QStringLiteral("ppp");
    case 29:
        return QStringLiteral("vpn");
    default:
        return QStringLiteral("other");
    }
}

// An "ao" value as a D-Bus property gives it.
QStringList PathsOf(const QVariant& value)
{
    QList<QDBusObjectPath> paths;
    if (value.canConvert<QDBusArgument>())
        paths = qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>());
    else
        paths = value.value<QList<QDBusObjectPath>>();
    QStringList out;
    for (const QDBusObjectPath& path : std::as_const(paths))
        out.append(path.path());
    return out;
}

} // namespace

CNmObjectCache::CNmObjectCache(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    CNmSecretAgent::RegisterTypes();
}

CNmObjectCache::~CNmObjectCache() = default;

bool CNmObjectCache::IsRunning(const QDBusConnection& bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()
        ->isServiceRegistered(QString::fromLatin1(CDBusAsyncCall::kService))
        .value();
}

void CNmObjectCache::Start()
{
    if (!m_bus.isConnected())
        return;
    const QString service = QString::fromLatin1(CDBusAsyncCall::kService);
    m_watcher =
        new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    m_settings = new CNmSettingsProxy(service, QString::fromLatin1(kSettingsPath), m_bus, this);
    m_settings->setTimeout(CDBusAsyncCall::kTimeoutMs);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &CNmObjectCache::OnServiceRegistered);
    Subscribe();
    if (IsRunning(m_bus))
        Reload();
}

// ---- Look-ups ----

QStringList CNmObjectCache::Entries() const
{
    QStringList out;
    for (const Profile& profile : std::as_const(m_profiles)) {
        if (profile.watched)
            out.append(profile.id);
    }
    return out;
}

QList<CActiveConnection> CNmObjectCache::Connections() const
{
    QList<CActiveConnection> out;
    for (const QString& path : std::as_const(m_activeOrder)) {
        const auto it = m_active.constFind(path);
        if (it == m_active.cend() || it->state != CNmDialProgress::ActiveActivated)
            continue;
        const Profile* profile = ProfileAt(it->profilePath);
        if (!profile || !profile->watched)
            continue;
        // Listed once its device is known too: the caller needs the interface at once.
        if (!it->devicePath.isEmpty() && !m_devices.contains(it->devicePath))
            continue;
        const Device device = m_devices.value(it->devicePath);
        CActiveConnection connection;
        connection.handle = it->handle;
        connection.entryName = profile->id;
        connection.deviceName = device.name;
        connection.deviceType = device.type;
        connection.interfaceName = device.interfaceName;
        out.append(connection);
    }
    return out;
}

const CNmObjectCache::Profile* CNmObjectCache::FindProfile(const QString& entry) const
{
    for (const Profile& profile : m_profiles) {
        if (profile.watched && profile.id == entry)
            return &profile;
    }
    for (const Profile& profile : m_profiles) {
        if (profile.watched && profile.id.compare(entry, Qt::CaseInsensitive) == 0)
            return &profile;
    }
    return nullptr;
}

const CNmObjectCache::Profile* CNmObjectCache::ProfileAt(const QString& path) const
{
    for (const Profile& profile : m_profiles) {
        if (profile.path == path)
            return &profile;
    }
    return nullptr;
}

const CNmObjectCache::Active* CNmObjectCache::ActiveAt(const QString& path) const
{
    const auto it = m_active.constFind(path);
    return it != m_active.cend() ? &*it : nullptr;
}

bool CNmObjectCache::IsProfileActive(const QString& profilePath) const
{
    for (const Active& active : std::as_const(m_active)) {
        if (active.profilePath == profilePath &&
            (active.state == CNmDialProgress::ActiveActivating ||
             active.state == CNmDialProgress::ActiveActivated))
            return true;
    }
    return false;
}

QString CNmObjectCache::ActivePathOf(Handle handle) const
{
    if (handle == 0)
        return {};
    for (auto it = m_active.cbegin(); it != m_active.cend(); ++it) {
        if (it->handle == handle)
            return it.key();
    }
    return {};
}

// ---- Changes made by the program ----

void CNmObjectCache::AdoptActive(const QString& path, Handle handle)
{
    const auto active = m_active.find(path);
    if (active == m_active.end()) {
        AddActive(path, handle);
        if (!m_activeOrder.contains(path))
            m_activeOrder.append(path);
    } else {
        active->handle = handle;
    }
    NoteConnections();
}

void CNmObjectCache::DeleteProfile(const QString& path, ReplyHandler onReply)
{
    Send(path, kProfileInterface, kDelete, {}, std::move(onReply));
    m_profiles.removeIf([&path](const Profile& profile) { return profile.path == path; });
    NoteConnections();
}

// ---- Reading ----

void CNmObjectCache::Send(const QString& path, const QString& interfaceName, const QString& method,
                          const QVariantList& arguments,
                          std::function<void(const QDBusMessage&)> onReply)
{
    CDBusAsyncCall::Send(m_bus, CDBusAsyncCall::MethodCall(path, interfaceName, method, arguments),
                         this, std::move(onReply));
}

void CNmObjectCache::Subscribe()
{
    const QString service = QString::fromLatin1(CDBusAsyncCall::kService);
    // An empty path listens to every object of the service.
    m_bus.connect(service, QString(), kPropertiesInterface, kPropertiesChanged, this,
                  SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    m_bus.connect(service, QString(), kDeviceInterface, kStateChanged, this,
                  SLOT(OnDeviceStateChanged(uint, uint, uint, QDBusMessage)));
    m_bus.connect(service, QString(), kActiveInterface, kStateChanged, this,
                  SLOT(OnActiveStateChanged(uint, uint, QDBusMessage)));
    connect(m_settings, &CNmSettingsProxy::NewConnection, this, &CNmObjectCache::OnNewConnection);
    connect(m_settings, &CNmSettingsProxy::ConnectionRemoved, this,
            &CNmObjectCache::OnConnectionRemoved);
    m_bus.connect(service, QString(), kProfileInterface, kUpdated, this,
                  SLOT(OnConnectionUpdated(QDBusMessage)));
}

void CNmObjectCache::OnServiceRegistered()
{
    Reload();
}

void CNmObjectCache::Reload()
{
    LoadProfiles();
    Send(kManagerObject, kPropertiesInterface, kGet, {kManagerInterface, kActiveConnections},
         [this](const QDBusMessage& reply) {
             if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                 SetActivePaths(
                     PathsOf(reply.arguments().constFirst().value<QDBusVariant>().variant()));
         });
    emit Reloaded();
}

void CNmObjectCache::LoadProfiles()
{
    if (!m_settings)
        return; // no bus
    CDBusAsyncCall::Watch(m_settings->ListConnections(), this, [this](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            OnProfileList(PathsOf(reply.arguments().constFirst()));
    });
}
void CNmObjectCache::OnProfileList(const QStringList& paths)
{
    // NetworkManager's order; a profile already read keeps what is known of it until its
    // settings come again.
    QList<Profile> profiles;
    for (const QString& path : paths) {
        const Profile* known = ProfileAt(path);
        Profile profile = known ? *known : Profile{};
        profile.path = path;
        profiles.append(profile);
    }
    m_profiles = profiles;
    for (const QString& path : paths)
        ReadProfile(path);
    NoteConnections();
}

void CNmObjectCache::ReadProfile(const QString& path)
{
    Send(path, kProfileInterface, kGetSettings, {},
         [this, path](const QDBusMessage& reply) { OnProfileSettings(path, reply); });
}

void CNmObjectCache::OnProfileSettings(const QString& path, const QDBusMessage& reply)
{
    const auto known =
        std::find_if(m_profiles.begin(), m_profiles.end(),
                     [&path](const Profile& profile) { return profile.path == path; });
    if (known == m_profiles.end())
        return; // removed meanwhile
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (!known->loaded)
            m_profiles.erase(known);
        NoteConnections();
        return;
    }
    const auto settings = qdbus_cast<NMVariantMapMap>(reply.arguments().constFirst());
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    Profile profile;
    profile.path = path;
    profile.loaded = true;
    profile.id = connection.value(QStringLiteral("id")).toString();
    profile.uuid = connection.value(QStringLiteral("uuid")).toString();
    profile.type = connection.value(QStringLiteral("type")).toString();
    // connection.metered: 0 unknown, 1 yes, 2 no.
    profile.watched =
        !profile.id.isEmpty() &&
        (IsDialUpType(profile.type) || connection.value(QStringLiteral("metered")).toInt() == 1);
    *known = profile;
    NoteConnections();
}

void CNmObjectCache::SetActivePaths(const QStringList& paths)
{
    for (auto it = m_active.begin(); it != m_active.end();) {
        if (paths.contains(it.key()))
            ++it;
        else
            it = m_active.erase(it);
    }
    for (const QString& path : paths) {
        if (!m_active.contains(path))
            AddActive(path, 0);
    }
    m_activeOrder = paths;
    NoteConnections();
}

void CNmObjectCache::AddActive(const QString& path, Handle handle)
{
    Active active;
    active.handle = handle != 0 ? handle : m_nextHandle++;
    m_active.insert(path, active);
    Send(path, kPropertiesInterface, kGetAll, {kActiveInterface},
         [this, path](const QDBusMessage& reply) { OnActiveProperties(path, reply); });
}

void CNmObjectCache::OnActiveProperties(const QString& path, const QDBusMessage& reply)
{
    const auto active = m_active.find(path);
    if (active == m_active.end())
        return; // gone meanwhile
    const QVariantMap properties =
        reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
            ? qdbus_cast<QVariantMap>(reply.arguments().constFirst())
            : QVariantMap();
    active->profilePath = PathOf(properties.value(QStringLiteral("Connection")));
    // A state change that was signalled is never older than the one read: the read may
    // have been answered before the change.
    if (!active->stateSignalled)
        active->state = properties.value(QStringLiteral("State")).toUInt();
    SetActiveDevices(*active, PathsOf(properties.value(QStringLiteral("Devices"))));
    active->loaded = true;
    emit ActiveLoaded(path);
    NoteConnections();
}

void CNmObjectCache::SetActiveDevices(Active& active, const QStringList& devices)
{
    active.devicePath = devices.value(0);
    if (!active.devicePath.isEmpty() && !m_devices.contains(active.devicePath))
        LoadDevice(active.devicePath);
}

void CNmObjectCache::LoadDevice(const QString& path)
{
    Send(path, kPropertiesInterface, kGetAll, {kDeviceInterface},
         [this, path](const QDBusMessage& reply) { OnDeviceProperties(path, reply); });
}

void CNmObjectCache::OnDeviceProperties(const QString& path, const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return;
    const auto properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    if (properties.isEmpty())
        return;
    Device device;
    for (const char* key : {"Product", "Driver", "Interface"}) {
        device.name = properties.value(QString::fromLatin1(key)).toString();
        if (!device.name.isEmpty())
            break;
    }
    device.interfaceName = properties.value(QStringLiteral("IpInterface")).toString();
    if (device.interfaceName.isEmpty())
        device.interfaceName = properties.value(QStringLiteral("Interface")).toString();
    device.type = DeviceTypeName(properties.value(QStringLiteral("DeviceType")).toUInt());
    m_devices.insert(path, device);
    NoteConnections();
}

void CNmObjectCache::OnPropertiesChanged(const QString& interfaceName, const QVariantMap& changed,
                                         const QStringList& invalidated,
                                         const QDBusMessage& message)
{
    Q_UNUSED(invalidated);
    const QString path = message.path();
    if (interfaceName == kManagerInterface && path == kManagerObject) {
        const auto it = changed.constFind(kActiveConnections);
        if (it != changed.cend())
            SetActivePaths(PathsOf(*it));
    } else if (interfaceName == kActiveInterface) {
        const auto active = m_active.find(path);
        if (active == m_active.end())
            return;
        if (changed.contains(QStringLiteral("State"))) {
            active->state = changed.value(QStringLiteral("State")).toUInt();
            active->stateSignalled = true;
        }
        if (changed.contains(QStringLiteral("Devices")))
            SetActiveDevices(*active, PathsOf(changed.value(QStringLiteral("Devices"))));
        NoteConnections();
    } else if (interfaceName == kDeviceInterface && m_devices.contains(path)) {
        // The interface that carries the traffic may appear during activation (ppp0).
        for (const char* key : {"IpInterface", "Interface", "Product", "Driver"}) {
            if (changed.contains(QString::fromLatin1(key))) {
                LoadDevice(path);
                break;
            }
        }
    }
}

void CNmObjectCache::OnDeviceStateChanged(uint newState, uint oldState, uint reason,
                                          const QDBusMessage& message)
{
    Q_UNUSED(oldState);
    emit DeviceStateChanged(message.path(), newState, reason);
}

void CNmObjectCache::OnActiveStateChanged(uint state, uint reason, const QDBusMessage& message)
{
    const QString path = message.path();
    const auto active = m_active.find(path);
    if (active != m_active.end()) {
        active->state = state;
        active->stateSignalled = true;
    }
    emit ActiveStateChanged(path, state, reason);
    NoteConnections();
}

void CNmObjectCache::OnNewConnection(const QDBusObjectPath& path)
{
    if (ProfileAt(path.path()))
        return;
    // Listed once its settings have been read.
    Profile profile;
    profile.path = path.path();
    m_profiles.append(profile);
    ReadProfile(profile.path);
}

void CNmObjectCache::OnConnectionRemoved(const QDBusObjectPath& path)
{
    m_profiles.removeIf([&path](const Profile& profile) { return profile.path == path.path(); });
    NoteConnections();
}

void CNmObjectCache::OnConnectionUpdated(const QDBusMessage& message)
{
    const QString path = message.path();
    if (ProfileAt(path))
        ReadProfile(path);
}

void CNmObjectCache::NoteConnections()
{
    const QList<CActiveConnection> now = Connections();
    const auto same = [](const CActiveConnection& a, const CActiveConnection& b) {
        return a.handle == b.handle && a.entryName == b.entryName && a.deviceName == b.deviceName &&
               a.deviceType == b.deviceType && a.interfaceName == b.interfaceName;
    };
    if (std::equal(now.cbegin(), now.cend(), m_listed.cbegin(), m_listed.cend(), same))
        return;
    m_listed = now;
    emit ConnectionsChanged();
}

QString CNmObjectCache::PathOf(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QDBusObjectPath>(value.value<QDBusArgument>()).path();
    return value.toString();
}
