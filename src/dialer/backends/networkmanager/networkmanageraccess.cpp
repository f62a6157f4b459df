#include "dialer/backends/networkmanager/networkmanageraccess.h"

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/backends/networkmanager/nmasynccall.h"
#include "dialer/backends/networkmanager/nmsecretagent.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

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
// The most state changes held back for a dial whose request is not yet answered.
constexpr int kMaxHeldSignals = 256;

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
        m_bus, [this](const QString& entry, CNmSecretAgent::CredentialsReply reply) {
            CredentialsFor(entry, std::move(reply));
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
    Send(path, kProfileInterface, QStringLiteral("Delete"), {},
         [this](const QDBusMessage& reply) { OnDeleteAnswer(reply); });
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

    // The agent may be asked for the credentials as soon as the activation starts. The
    // handle is given now; it names the active connection once NetworkManager has said
    // which one it is.
    m_dial = Dialing{};
    m_dial.active = true;
    m_dial.handle = m_nextHandle++;
    m_dial.entry = profile->id;
    m_dial.user = user;
    m_dial.password = password;
    m_dial.notifier = std::move(notifier);
    const Handle handle = m_dial.handle;
    Send(kManagerPath, kManagerInterface, QStringLiteral("ActivateConnection"),
         {QVariant::fromValue(QDBusObjectPath(profile->path)),
          QVariant::fromValue(QDBusObjectPath(QStringLiteral("/"))),
          QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))},
         [this, handle](const QDBusMessage& reply) { OnActivated(handle, reply); });
    outHandle = handle;
    return ErrorNone;
}

int CNetworkManagerAccess::HangUp(Handle handle)
{
    if (handle == 0)
        return ErrorInvalidHandle;
    // A dial that is hung up reports nothing more.
    if (m_dial.active && m_dial.handle == handle) {
        const bool unanswered = m_dial.activePath.isEmpty();
        m_dial = Dialing{};
        if (unanswered) {
            // The active connection is not known yet: it is ended as soon as it is.
            m_cancelled.insert(handle);
            return ErrorNone;
        }
    }
    const QString path = ActivePathOf(handle);
    if (path.isEmpty())
        return ErrorInvalidHandle;
    Send(kManagerPath, kManagerInterface, QStringLiteral("DeactivateConnection"),
         {QVariant::fromValue(QDBusObjectPath(path))},
         [this](const QDBusMessage& reply) { OnHangUpAnswer(reply); });
    return ErrorNone;
}

int CNetworkManagerAccess::EnumConnections(QList<CActiveConnection>& out)
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

void CNetworkManagerAccess::CredentialsFor(
    const QString& entry,
    std::function<void(bool found, const QString& user, const QString& password)> reply)
{
    // The dial's own credentials come first: the stored ones may already have been emptied
    // when the user does not want them remembered.
    if (m_dial.active && m_dial.entry == entry &&
        (!m_dial.user.isEmpty() || !m_dial.password.isEmpty())) {
        reply(true, m_dial.user, m_dial.password);
        return;
    }
    if (!m_store) {
        reply(false, QString(), QString());
        return;
    }
    if (!m_credentials)
        m_credentials = std::make_unique<CCredentialStore>(m_store);
    m_credentials->Load(entry,
                        [reply = std::move(reply)](const QString& user, const QString& password) {
                            reply(!user.isEmpty() || !password.isEmpty(), user, password);
                        });
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

void CNetworkManagerAccess::OnDialActiveState(uint state, uint reason)
{
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

bool CNetworkManagerAccess::DialResolved() const
{
    if (!m_dial.active || m_dial.activePath.isEmpty())
        return false;
    const auto active = m_active.constFind(m_dial.activePath);
    return active != m_active.cend() && active->loaded;
}

void CNetworkManagerAccess::ReplayHeldSignals()
{
    if (!DialResolved())
        return;
    const QList<HeldSignal> held = std::exchange(m_dial.held, {});
    const QString devicePath = m_active.value(m_dial.activePath).devicePath;
    const QString activePath = m_dial.activePath;
    for (const HeldSignal& signal : held) {
        if (!m_dial.active)
            break;
        if (signal.device && !devicePath.isEmpty() && signal.path == devicePath)
            OnDialDeviceState(signal.state, signal.reason);
        else if (!signal.device && signal.path == activePath)
            OnDialActiveState(signal.state, signal.reason);
    }
}

void CNetworkManagerAccess::OnActivated(Handle handle, const QDBusMessage& reply)
{
    const bool cancelled = m_cancelled.remove(handle);
    const bool dialing = m_dial.active && m_dial.handle == handle;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const int error = ServiceError(reply);
        if (dialing)
            Notify(m_dial.lastState, static_cast<unsigned>(error));
        return;
    }
    const QString path = PathOf(reply.arguments().constFirst());
    const auto active = m_active.find(path);
    if (active == m_active.end()) {
        AddActive(path, handle);
        if (!m_activeOrder.contains(path))
            m_activeOrder.append(path);
    } else {
        active->handle = handle;
    }
    if (cancelled) {
        Send(kManagerPath, kManagerInterface, QStringLiteral("DeactivateConnection"),
             {QVariant::fromValue(QDBusObjectPath(path))},
             [this](const QDBusMessage& answer) { OnHangUpAnswer(answer); });
        return;
    }
    if (dialing) {
        m_dial.activePath = path;
        ReplayHeldSignals();
    }
}

void CNetworkManagerAccess::OnHangUpAnswer(const QDBusMessage& reply)
{
    // A connection that has ended already needs no hang-up.
    if (reply.type() == QDBusMessage::ReplyMessage ||
        reply.errorName().endsWith(u".ConnectionNotActive"))
        return;
    ServiceError(reply);
    qWarning("NetworkManager did not hang up: %s", qPrintable(reply.errorMessage()));
}

void CNetworkManagerAccess::OnDeleteAnswer(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return;
    // The profile was taken off the list before the answer: read the list again.
    ServiceError(reply);
    qWarning("NetworkManager did not delete the profile: %s", qPrintable(reply.errorMessage()));
    LoadProfiles();
}

// ---- D-Bus ----

void CNetworkManagerAccess::Send(const QString& path, const QString& interfaceName,
                                 const QString& method, const QVariantList& arguments,
                                 std::function<void(const QDBusMessage&)> onReply)
{
    CNmAsyncCall::Send(m_bus, CNmAsyncCall::MethodCall(path, interfaceName, method, arguments),
                       this, std::move(onReply));
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
    Send(kManagerPath, kPropertiesInterface, QStringLiteral("Get"),
         {kManagerInterface, QStringLiteral("ActiveConnections")},
         [this](const QDBusMessage& reply) {
             if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                 SetActivePaths(
                     PathsOf(reply.arguments().constFirst().value<QDBusVariant>().variant()));
         });
    m_agent->Register();
}

void CNetworkManagerAccess::LoadProfiles()
{
    Send(kSettingsPath, kSettingsInterface, QStringLiteral("ListConnections"), {},
         [this](const QDBusMessage& reply) {
             if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                 OnProfileList(PathsOf(reply.arguments().constFirst()));
         });
}

void CNetworkManagerAccess::OnProfileList(const QStringList& paths)
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
}

void CNetworkManagerAccess::ReadProfile(const QString& path)
{
    Send(path, kProfileInterface, QStringLiteral("GetSettings"), {},
         [this, path](const QDBusMessage& reply) { OnProfileSettings(path, reply); });
}

void CNetworkManagerAccess::OnProfileSettings(const QString& path, const QDBusMessage& reply)
{
    const auto known =
        std::find_if(m_profiles.begin(), m_profiles.end(),
                     [&path](const Profile& profile) { return profile.path == path; });
    if (known == m_profiles.end())
        return; // removed meanwhile
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (!known->loaded)
            m_profiles.erase(known);
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
            AddActive(path, 0);
    }
    m_activeOrder = paths;
}

void CNetworkManagerAccess::AddActive(const QString& path, Handle handle)
{
    Active active;
    active.handle = handle != 0 ? handle : m_nextHandle++;
    m_active.insert(path, active);
    Send(path, kPropertiesInterface, QStringLiteral("GetAll"), {kActiveInterface},
         [this, path](const QDBusMessage& reply) { OnActiveProperties(path, reply); });
}

void CNetworkManagerAccess::OnActiveProperties(const QString& path, const QDBusMessage& reply)
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
    if (m_dial.active && m_dial.activePath == path)
        ReplayHeldSignals();
}

void CNetworkManagerAccess::SetActiveDevices(Active& active, const QStringList& devices)
{
    active.devicePath = devices.value(0);
    if (!active.devicePath.isEmpty() && !m_devices.contains(active.devicePath))
        LoadDevice(active.devicePath);
}

void CNetworkManagerAccess::LoadDevice(const QString& path)
{
    Send(path, kPropertiesInterface, QStringLiteral("GetAll"), {kDeviceInterface},
         [this, path](const QDBusMessage& reply) { OnDeviceProperties(path, reply); });
}

void CNetworkManagerAccess::OnDeviceProperties(const QString& path, const QDBusMessage& reply)
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
        if (changed.contains(QStringLiteral("State"))) {
            active->state = changed.value(QStringLiteral("State")).toUInt();
            active->stateSignalled = true;
        }
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
    if (!DialResolved()) {
        if (m_dial.held.size() < kMaxHeldSignals)
            m_dial.held.append({true, message.path(), newState, reason});
        return;
    }
    const auto active = m_active.constFind(m_dial.activePath);
    if (active != m_active.cend() && active->devicePath == message.path())
        OnDialDeviceState(newState, reason);
}

void CNetworkManagerAccess::OnActiveStateChanged(uint state, uint reason,
                                                 const QDBusMessage& message)
{
    const QString path = message.path();
    const auto active = m_active.find(path);
    if (active != m_active.end()) {
        active->state = state;
        active->stateSignalled = true;
    }
    if (!m_dial.active)
        return;
    if (!DialResolved()) {
        if (m_dial.held.size() < kMaxHeldSignals)
            m_dial.held.append({false, path, state, reason});
        return;
    }
    if (m_dial.activePath == path)
        OnDialActiveState(state, reason);
}

void CNetworkManagerAccess::OnNewConnection(const QDBusObjectPath& path)
{
    if (ProfileAt(path.path()))
        return;
    // Listed once its settings have been read.
    Profile profile;
    profile.path = path.path();
    m_profiles.append(profile);
    ReadProfile(profile.path);
}

void CNetworkManagerAccess::OnConnectionRemoved(const QDBusObjectPath& path)
{
    m_profiles.removeIf([&path](const Profile& profile) { return profile.path == path.path(); });
}

void CNetworkManagerAccess::OnConnectionUpdated(const QDBusMessage& message)
{
    const QString path = message.path();
    if (ProfileAt(path))
        ReadProfile(path);
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
