#include "dialer/networkmanageraccess.h"

#include "common/settingsstore.h"
#include "dialer/nmsecretagent.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kProfileInterface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kEditor = QStringLiteral("nm-connection-editor");
constexpr int kCallTimeoutMs = 5000;

// Device states (NMDeviceState).
enum : uint {
    DeviceDisconnected = 30,
    DevicePrepare = 40,
    DeviceConfig = 50,
    DeviceNeedAuth = 60,
    DeviceIpConfig = 70,
    DeviceIpCheck = 80,
    DeviceSecondaries = 90,
    DeviceActivated = 100,
    DeviceFailed = 120,
};

// Active connection states (NMActiveConnectionState).
enum : uint { ActiveActivating = 1, ActiveActivated = 2, ActiveDeactivated = 4 };

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

// An "o" value as a D-Bus property gives it.
QString PathOf(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.canConvert<QDBusArgument>())
        return qdbus_cast<QDBusObjectPath>(value.value<QDBusArgument>()).path();
    return value.toString();
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

CNetworkManagerAccess::CNetworkManagerAccess(CSettingsStore* store, QDBusConnection bus)
    : m_bus(std::move(bus))
    , m_store(store)
{
    CNmSecretAgent::RegisterTypes();
    m_agent = std::make_unique<CNmSecretAgent>(
        m_bus, [this](const QString& entry, QString& user, QString& password) {
            return CredentialsFor(entry, user, password);
        });
    if (!m_bus.isConnected())
        return;
    m_watcher = new QDBusServiceWatcher(QString::fromLatin1(kService), m_bus,
                                        QDBusServiceWatcher::WatchForRegistration, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &CNetworkManagerAccess::OnServiceRegistered);
    Subscribe();
    if (IsRunning(m_bus))
        Reload();
}

CNetworkManagerAccess::~CNetworkManagerAccess() = default;

bool CNetworkManagerAccess::IsRunning(QDBusConnection bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
}

int CNetworkManagerAccess::ErrorForReason(uint deviceReason, uint activeReason)
{
    switch (deviceReason) {
    case 7: // NO_SECRETS
        return ErrorNoSecrets;
    case 12: // PPP_START_FAILED
        return ErrorPppStartFailed;
    case 13: // PPP_DISCONNECT
        return ErrorPppDisconnected;
    case 14: // PPP_FAILED
        return ErrorPppFailed;
    case 23: // MODEM_BUSY
        return ErrorLineBusy;
    case 24: // MODEM_NO_DIAL_TONE
        return ErrorNoDialTone;
    case 25: // MODEM_NO_CARRIER
        return ErrorNoCarrier;
    case 26: // MODEM_DIAL_TIMEOUT
        return ErrorNoAnswer;
    case 27: // MODEM_DIAL_FAILED
        return ErrorDialFailed;
    case 28: // MODEM_INIT_FAILED
        return ErrorHardwareFailure;
    case 40: // CARRIER
        return ErrorRemoteDisconnection;
    default:
        break;
    }
    switch (activeReason) {
    case 2: // USER_DISCONNECTED
        return ErrorUserDisconnection;
    case 9: // NO_SECRETS
        return ErrorNoSecrets;
    case 10: // LOGIN_FAILED
        return ErrorAuthenticationFailure;
    default:
        return ErrorActivationFailed;
    }
}

// ---- Commands ----

int CNetworkManagerAccess::EnumEntries(QStringList& out)
{
    out.clear();
    for (const Profile& profile : std::as_const(m_profiles)) {
        if (profile.watched)
            out.append(profile.id);
    }
    return ErrorNone;
}

int CNetworkManagerAccess::CreateEntry()
{
    return RunEditor({QStringLiteral("--create")});
}

int CNetworkManagerAccess::EditEntry(const QString& name)
{
    const Profile* profile = FindProfile(name);
    if (!profile)
        return ErrorEntryNotFound;
    return RunEditor({QStringLiteral("--edit"), profile->uuid});
}

int CNetworkManagerAccess::DeleteEntry(const QString& name)
{
    const Profile* profile = FindProfile(name);
    if (!profile)
        return ErrorEntryNotFound;
    const QString path = profile->path;
    const QDBusMessage reply = Call(path, kProfileInterface, QStringLiteral("Delete"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return ServiceError(reply);
    // The caller lists the entries again at once, before the removal signal arrives.
    OnConnectionRemoved(QDBusObjectPath(path));
    return ErrorNone;
}

int CNetworkManagerAccess::Dial(const QString& entry, const QString& user, const QString& password,
                                DialNotifier notifier, Handle& outHandle)
{
    outHandle = 0;
    const Profile* profile = FindProfile(entry);
    if (!profile)
        return IsRunning(m_bus) ? int(ErrorEntryNotFound) : int(ErrorNotRunning);
    if (m_dial.active)
        return ErrorPortAlreadyOpen;
    for (const Active& active : std::as_const(m_active)) {
        if (active.profilePath == profile->path &&
            (active.state == ActiveActivating || active.state == ActiveActivated))
            return ErrorPortAlreadyOpen;
    }

    // The agent may be asked for the credentials as soon as the activation starts.
    m_dial = Dialing{};
    m_dial.active = true;
    m_dial.entry = profile->id;
    m_dial.user = user;
    m_dial.password = password;
    m_dial.notifier = std::move(notifier);
    const QDBusMessage reply =
        Call(kManagerPath, kManagerInterface, QStringLiteral("ActivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(profile->path)),
              QVariant::fromValue(QDBusObjectPath(QStringLiteral("/"))),
              QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        m_dial = Dialing{};
        return ServiceError(reply);
    }
    const QString path = PathOf(reply.arguments().constFirst());
    m_dial.activePath = path;
    if (!m_active.contains(path)) {
        AddActive(path);
        if (!m_activeOrder.contains(path))
            m_activeOrder.append(path);
    }
    outHandle = m_active.value(path).handle;
    return ErrorNone;
}

int CNetworkManagerAccess::HangUp(Handle handle)
{
    const QString path = ActivePathOf(handle);
    if (path.isEmpty())
        return ErrorInvalidHandle;
    // A dial that is hung up reports nothing more.
    if (m_dial.active && m_dial.activePath == path)
        m_dial = Dialing{};
    const QDBusMessage reply =
        Call(kManagerPath, kManagerInterface, QStringLiteral("DeactivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(path))});
    if (reply.type() != QDBusMessage::ReplyMessage)
        return ServiceError(reply);
    return ErrorNone;
}

int CNetworkManagerAccess::EnumConnections(QList<CRasConnection>& out)
{
    // Answered from the state the signals keep: this runs once a second.
    out.clear();
    for (const QString& path : std::as_const(m_activeOrder)) {
        const auto it = m_active.constFind(path);
        if (it == m_active.cend() || it->state != ActiveActivated)
            continue;
        const Profile* profile = ProfileAt(it->profilePath);
        if (!profile || !profile->watched)
            continue;
        const Device device = m_devices.value(it->devicePath);
        CRasConnection connection;
        connection.handle = it->handle;
        connection.entryName = profile->id;
        connection.deviceName = device.name;
        connection.deviceType = device.type;
        connection.interfaceName = device.interfaceName;
        out.append(connection);
    }
    return ErrorNone;
}

bool CNetworkManagerAccess::GetErrorString(int code, QString& text) const
{
    switch (code) {
    case ErrorNotRunning:
        text = QStringLiteral("NetworkManager is not running.");
        return true;
    case ErrorServiceRefused:
        text =
            m_lastServiceError.isEmpty()
                ? QStringLiteral("NetworkManager refused the request.")
                : QStringLiteral("NetworkManager refused the request: %1").arg(m_lastServiceError);
        return true;
    case ErrorNoSecrets:
        text = QStringLiteral("The connection needs a user name and password, and none were "
                              "given.");
        return true;
    case ErrorDialFailed:
        text = QStringLiteral("The modem could not dial.");
        return true;
    case ErrorPppStartFailed:
        text = QStringLiteral("The PPP service could not be started.");
        return true;
    case ErrorPppDisconnected:
        text = QStringLiteral("The PPP link was closed.");
        return true;
    case ErrorPppFailed:
        text = QStringLiteral("The PPP link failed.");
        return true;
    case ErrorActivationFailed:
        text = QStringLiteral("NetworkManager could not activate the connection.");
        return true;
    case ErrorNoEditor:
        text = QStringLiteral("Install nm-connection-editor to create and edit connections.");
        return true;
    default:
        return CRemoteAccess::GetErrorString(code, text);
    }
}

bool CNetworkManagerAccess::ReadByteCounters(const QString& interfaceName, quint64& received,
                                             quint64& sent)
{
    // The kernel's counters of the interface are the ones to read.
    Q_UNUSED(interfaceName);
    Q_UNUSED(received);
    Q_UNUSED(sent);
    return false;
}

int CNetworkManagerAccess::RunEditor(const QStringList& arguments)
{
    const QString editor = QStandardPaths::findExecutable(kEditor);
    if (editor.isEmpty())
        return ErrorNoEditor;
    if (!QProcess::startDetached(editor, arguments)) {
        m_lastServiceError = QStringLiteral("%1 could not be started.").arg(kEditor);
        return ErrorServiceRefused;
    }
    return ErrorNone;
}

int CNetworkManagerAccess::ServiceError(const QDBusMessage& reply)
{
    const QString name = reply.errorName();
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown" ||
        name == u"org.freedesktop.DBus.Error.NameHasNoOwner" || !m_bus.isConnected())
        return ErrorNotRunning;
    if (name.endsWith(u".UnknownConnection"))
        return ErrorEntryNotFound;
    if (name.endsWith(u".ConnectionNotActive"))
        return ErrorInvalidHandle;
    m_lastServiceError = reply.errorMessage().isEmpty() ? name : reply.errorMessage();
    return ErrorServiceRefused;
}

// ---- Credentials ----

bool CNetworkManagerAccess::CredentialsFor(const QString& entry, QString& user,
                                           QString& password) const
{
    // The dial's own credentials come first: the settings may already have been emptied
    // when the user does not want them remembered.
    if (m_dial.active && m_dial.entry == entry &&
        (!m_dial.user.isEmpty() || !m_dial.password.isEmpty())) {
        user = m_dial.user;
        password = m_dial.password;
        return true;
    }
    if (!m_store)
        return false;
    user = m_store->Read(Keys::EntryUser(entry));
    password = m_store->Read(Keys::EntryPassword(entry));
    return !user.isEmpty() || !password.isEmpty();
}

// ---- Progress of a dial ----

void CNetworkManagerAccess::Notify(unsigned state, unsigned error)
{
    if (!m_dial.active)
        return;
    DialNotifier notifier = m_dial.notifier;
    if (state == Connected || state == Disconnected || error != 0)
        m_dial = Dialing{};
    else
        m_dial.lastState = state;
    if (notifier)
        notifier(state, error);
}

void CNetworkManagerAccess::OnDialDeviceState(uint newState, uint reason)
{
    const uint previous = m_dial.lastDeviceState;
    m_dial.lastDeviceState = newState;
    switch (newState) {
    case DevicePrepare:
        Notify(OpenPort, 0);
        Notify(PortOpened, 0);
        Notify(ConnectDevice, 0);
        break;
    case DeviceConfig:
        Notify(DeviceConnected, 0);
        Notify(AllDevicesConnected, 0);
        break;
    case DeviceNeedAuth:
        Notify(Authenticate, 0);
        break;
    case DeviceIpConfig:
        Notify(Authenticated, 0);
        Notify(AuthProject, 0);
        break;
    case DeviceIpCheck:
    case DeviceSecondaries:
        if (m_dial.lastState != Projected)
            Notify(Projected, 0);
        break;
    case DeviceActivated:
        Notify(Connected, 0);
        break;
    case DeviceFailed:
        if (ErrorForReason(reason, 0) != ErrorActivationFailed) {
            Notify(m_dial.lastState, static_cast<unsigned>(ErrorForReason(reason, 0)));
        } else {
            // The active connection's reason (a refused login) follows.
            m_dial.failed = true;
            m_dial.failReason = reason;
        }
        break;
    case DeviceDisconnected:
        if (m_dial.failed)
            Notify(m_dial.lastState, static_cast<unsigned>(ErrorForReason(m_dial.failReason, 0)));
        else if (previous != 0)
            Notify(Disconnected, 0);
        break;
    default:
        break;
    }
}

// ---- D-Bus ----

QDBusMessage CNetworkManagerAccess::Call(const QString& path, const QString& interfaceName,
                                         const QString& method, const QVariantList& arguments) const
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), path, interfaceName, method);
    call.setArguments(arguments);
    return m_bus.call(call, QDBus::Block, kCallTimeoutMs);
}

QVariantMap CNetworkManagerAccess::GetAll(const QString& path, const QString& interfaceName) const
{
    const QDBusMessage reply =
        Call(path, kPropertiesInterface, QStringLiteral("GetAll"), {interfaceName});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst());
}

void CNetworkManagerAccess::Subscribe()
{
    const QString service = QString::fromLatin1(kService);
    // An empty path listens to every object of the service.
    m_bus.connect(service, QString(), kPropertiesInterface, QStringLiteral("PropertiesChanged"),
                  this, SLOT(OnPropertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    m_bus.connect(service, QString(), kDeviceInterface, QStringLiteral("StateChanged"), this,
                  SLOT(OnDeviceStateChanged(uint, uint, uint, QDBusMessage)));
    m_bus.connect(service, QString(), kActiveInterface, QStringLiteral("StateChanged"), this,
                  SLOT(OnActiveStateChanged(uint, uint, QDBusMessage)));
    m_bus.connect(service, kSettingsPath, kSettingsInterface, QStringLiteral("NewConnection"), this,
                  SLOT(OnNewConnection(QDBusObjectPath)));
    m_bus.connect(service, kSettingsPath, kSettingsInterface, QStringLiteral("ConnectionRemoved"),
                  this, SLOT(OnConnectionRemoved(QDBusObjectPath)));
    m_bus.connect(service, QString(), kProfileInterface, QStringLiteral("Updated"), this,
                  SLOT(OnConnectionUpdated(QDBusMessage)));
}

void CNetworkManagerAccess::OnServiceRegistered()
{
    Reload();
}

void CNetworkManagerAccess::Reload()
{
    LoadProfiles();
    const QDBusMessage reply = Call(kManagerPath, kPropertiesInterface, QStringLiteral("Get"),
                                    {kManagerInterface, QStringLiteral("ActiveConnections")});
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        SetActivePaths(PathsOf(reply.arguments().constFirst().value<QDBusVariant>().variant()));
    m_agent->Register();
}

void CNetworkManagerAccess::LoadProfiles()
{
    const QDBusMessage reply =
        Call(kSettingsPath, kSettingsInterface, QStringLiteral("ListConnections"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return;
    QList<Profile> profiles;
    for (const QString& path : PathsOf(reply.arguments().constFirst())) {
        if (std::optional<Profile> profile = ReadProfile(path))
            profiles.append(*profile);
    }
    m_profiles = profiles;
}

std::optional<CNetworkManagerAccess::Profile>
CNetworkManagerAccess::ReadProfile(const QString& path) const
{
    const QDBusMessage reply = Call(path, kProfileInterface, QStringLiteral("GetSettings"));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const auto settings = qdbus_cast<NMVariantMapMap>(reply.arguments().constFirst());
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    Profile profile;
    profile.path = path;
    profile.id = connection.value(QStringLiteral("id")).toString();
    profile.uuid = connection.value(QStringLiteral("uuid")).toString();
    profile.type = connection.value(QStringLiteral("type")).toString();
    // connection.metered: 0 unknown, 1 yes, 2 no.
    profile.watched =
        !profile.id.isEmpty() &&
        (IsDialUpType(profile.type) || connection.value(QStringLiteral("metered")).toInt() == 1);
    return profile;
}

void CNetworkManagerAccess::SetActivePaths(const QStringList& paths)
{
    for (auto it = m_active.begin(); it != m_active.end();) {
        if (paths.contains(it.key()))
            ++it;
        else
            it = m_active.erase(it);
    }
    for (const QString& path : paths) {
        if (!m_active.contains(path))
            AddActive(path);
    }
    m_activeOrder = paths;
}

void CNetworkManagerAccess::AddActive(const QString& path)
{
    const QVariantMap properties = GetAll(path, kActiveInterface);
    Active active;
    active.handle = m_nextHandle++;
    active.profilePath = PathOf(properties.value(QStringLiteral("Connection")));
    active.state = properties.value(QStringLiteral("State")).toUInt();
    SetActiveDevices(active, PathsOf(properties.value(QStringLiteral("Devices"))));
    m_active.insert(path, active);
}

void CNetworkManagerAccess::SetActiveDevices(Active& active, const QStringList& devices)
{
    active.devicePath = devices.value(0);
    if (!active.devicePath.isEmpty() && !m_devices.contains(active.devicePath))
        LoadDevice(active.devicePath);
}

void CNetworkManagerAccess::LoadDevice(const QString& path)
{
    const QVariantMap properties = GetAll(path, kDeviceInterface);
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
}

void CNetworkManagerAccess::OnPropertiesChanged(const QString& interfaceName,
                                                const QVariantMap& changed,
                                                const QStringList& invalidated,
                                                const QDBusMessage& message)
{
    Q_UNUSED(invalidated);
    const QString path = message.path();
    if (interfaceName == kManagerInterface && path == kManagerPath) {
        const auto it = changed.constFind(QStringLiteral("ActiveConnections"));
        if (it != changed.cend())
            SetActivePaths(PathsOf(*it));
    } else if (interfaceName == kActiveInterface) {
        const auto active = m_active.find(path);
        if (active == m_active.end())
            return;
        if (changed.contains(QStringLiteral("State")))
            active->state = changed.value(QStringLiteral("State")).toUInt();
        if (changed.contains(QStringLiteral("Devices")))
            SetActiveDevices(*active, PathsOf(changed.value(QStringLiteral("Devices"))));
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

void CNetworkManagerAccess::OnDeviceStateChanged(uint newState, uint oldState, uint reason,
                                                 const QDBusMessage& message)
{
    Q_UNUSED(oldState);
    if (!m_dial.active)
        return;
    const auto active = m_active.constFind(m_dial.activePath);
    if (active != m_active.cend() && active->devicePath == message.path())
        OnDialDeviceState(newState, reason);
}

void CNetworkManagerAccess::OnActiveStateChanged(uint state, uint reason,
                                                 const QDBusMessage& message)
{
    const QString path = message.path();
    const auto active = m_active.find(path);
    if (active != m_active.end())
        active->state = state;
    if (!m_dial.active || m_dial.activePath != path)
        return;
    // A connection without a device of its own (a VPN) only reports these states; with a
    // device, its states have ended the dial already.
    if (state == ActiveActivated) {
        Notify(Connected, 0);
    } else if (state == ActiveDeactivated) {
        if (m_dial.failed)
            Notify(m_dial.lastState,
                   static_cast<unsigned>(ErrorForReason(m_dial.failReason, reason)));
        else if (reason == 0 || reason == 2 || reason == 3)
            Notify(Disconnected, 0);
        else
            Notify(m_dial.lastState, static_cast<unsigned>(ErrorForReason(0, reason)));
    }
}

void CNetworkManagerAccess::OnNewConnection(const QDBusObjectPath& path)
{
    if (ProfileAt(path.path()))
        return;
    if (std::optional<Profile> profile = ReadProfile(path.path()))
        m_profiles.append(*profile);
}

void CNetworkManagerAccess::OnConnectionRemoved(const QDBusObjectPath& path)
{
    m_profiles.removeIf([&path](const Profile& profile) { return profile.path == path.path(); });
}

void CNetworkManagerAccess::OnConnectionUpdated(const QDBusMessage& message)
{
    const QString path = message.path();
    const std::optional<Profile> profile = ReadProfile(path);
    if (!profile)
        return;
    for (Profile& known : m_profiles) {
        if (known.path == path) {
            known = *profile;
            return;
        }
    }
}

// ---- Look-ups ----

const CNetworkManagerAccess::Profile* CNetworkManagerAccess::FindProfile(const QString& entry) const
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

const CNetworkManagerAccess::Profile* CNetworkManagerAccess::ProfileAt(const QString& path) const
{
    for (const Profile& profile : m_profiles) {
        if (profile.path == path)
            return &profile;
    }
    return nullptr;
}

QString CNetworkManagerAccess::ActivePathOf(Handle handle) const
{
    if (handle == 0)
        return {};
    for (auto it = m_active.cbegin(); it != m_active.cend(); ++it) {
        if (it->handle == handle)
            return it.key();
    }
    return {};
}
