#include "dialer/backends/networkmanager/networkmanageraccess.h"

#include "dialer/backends/networkmanager/nmobjectcache.h"
#include "dialer/backends/networkmanager/nmsecretbridge.h"
#include "dialer/dbusasynccall.h"
#include "nmmanagerproxy.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>

#include <utility>

namespace {

// "No device" and "no specific object" for ActivateConnection.
const QDBusObjectPath kNoObject(QStringLiteral("/"));
const QString kEditor = QStringLiteral("nm-connection-editor");
// The most state changes held back for a dial whose request is not yet answered.
constexpr int kMaxHeldSignals = 256;

} // namespace

CNetworkManagerAccess::CNetworkManagerAccess(CCredentialStore* credentials, QDBusConnection bus)
    : m_bus(std::move(bus))
    , m_secrets(std::make_unique<CNmSecretBridge>(m_bus, credentials))
    , m_cache(new CNmObjectCache(m_bus, this))
    , m_manager(new CNmManagerProxy(QString::fromLatin1(kService),
                                    QString::fromLatin1(CNmObjectCache::kManagerPath), m_bus, this))
{
    m_manager->setTimeout(CDBusAsyncCall::kTimeoutMs);
    connect(m_cache, &CNmObjectCache::Reloaded, this, [this] { m_secrets->Register(); });
    connect(m_cache, &CNmObjectCache::DeviceStateChanged, this,
            &CNetworkManagerAccess::OnDeviceStateChanged);
    connect(m_cache, &CNmObjectCache::ActiveStateChanged, this,
            &CNetworkManagerAccess::OnActiveStateChanged);
    connect(m_cache, &CNmObjectCache::ActiveLoaded, this, [this](const QString& path) {
        if (m_dial.active && m_dial.activePath == path)
            ReplayHeldSignals();
    });
    m_cache->Start();
}

CNetworkManagerAccess::~CNetworkManagerAccess() = default;

bool CNetworkManagerAccess::IsRunning(QDBusConnection bus)
{
    return CNmObjectCache::IsRunning(bus);
}

// ---- Commands ----

int CNetworkManagerAccess::EnumEntries(QStringList& out)
{
    out = m_cache->Entries();
    return ErrorNone;
}

int CNetworkManagerAccess::CreateEntry()
{
    return RunEditor({QStringLiteral("--create")});
}

int CNetworkManagerAccess::EditEntry(const QString& name)
{
    const CNmObjectCache::Profile* profile = m_cache->FindProfile(name);
    if (!profile)
        return ErrorEntryNotFound;
    return RunEditor({QStringLiteral("--edit"), profile->uuid});
}

int CNetworkManagerAccess::DeleteEntry(const QString& name)
{
    const CNmObjectCache::Profile* profile = m_cache->FindProfile(name);
    if (!profile)
        return ErrorEntryNotFound;
    // The caller lists the entries again at once, before the removal signal arrives.
    m_cache->DeleteProfile(profile->path,
                           [this](const QDBusMessage& reply) { OnDeleteAnswer(reply); });
    return ErrorNone;
}

int CNetworkManagerAccess::Dial(const QString& entry, const QString& user, const QString& password,
                                DialNotifier notifier, Handle& outHandle)
{
    outHandle = 0;
    const CNmObjectCache::Profile* profile = m_cache->FindProfile(entry);
    if (!profile)
        return IsRunning(m_bus) ? int(ErrorEntryNotFound) : int(ErrorNotRunning);
    if (m_dial.active)
        return ErrorPortAlreadyOpen;
    if (m_cache->IsProfileActive(profile->path))
        return ErrorPortAlreadyOpen;

    // The agent may be asked for the credentials as soon as the activation starts. The
    // handle is given now; it names the active connection once NetworkManager has said
    // which one it is.
    m_dial = Dialing{};
    m_dial.active = true;
    m_dial.handle = m_cache->NewHandle();
    m_dial.notifier = std::move(notifier);
    m_secrets->StartDial(profile->id, user, password);
    const Handle handle = m_dial.handle;
    CDBusAsyncCall::Watch(
        m_manager->ActivateConnection(QDBusObjectPath(profile->path), kNoObject, kNoObject), this,
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
        EndDial();
        if (unanswered) {
            // The active connection is not known yet: it is ended as soon as it is.
            m_cancelled.insert(handle);
            return ErrorNone;
        }
    }
    const QString path = m_cache->ActivePathOf(handle);
    if (path.isEmpty())
        return ErrorInvalidHandle;
    CDBusAsyncCall::Watch(m_manager->DeactivateConnection(QDBusObjectPath(path)), this,
                          [this](const QDBusMessage& reply) { OnHangUpAnswer(reply); });
    return ErrorNone;
}

int CNetworkManagerAccess::EnumConnections(QList<CActiveConnection>& out)
{
    // Answered from the state the signals keep: this runs once a second.
    out = m_cache->Connections();
    return ErrorNone;
}

bool CNetworkManagerAccess::WatchConnections(std::function<void()> changed)
{
    disconnect(m_cache, &CNmObjectCache::ConnectionsChanged, this, nullptr);
    if (changed)
        connect(m_cache, &CNmObjectCache::ConnectionsChanged, this, std::move(changed));
    return true;
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
        text = tr("No connection editor is installed. Install nm-connection-editor (package "
                  "network-manager-gnome), or use nmtui or nmcli in a terminal.");
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

// ---- Progress of a dial ----

void CNetworkManagerAccess::Notify(const QList<CNmDialProgress::Step>& steps)
{
    const Handle handle = m_dial.handle;
    for (const CNmDialProgress::Step& step : steps) {
        // The notifier may have hung up.
        if (!m_dial.active || m_dial.handle != handle)
            return;
        DialNotifier notifier = m_dial.notifier;
        if (CNmDialProgress::IsFinal(step))
            EndDial();
        if (notifier)
            notifier(step.state, step.error);
    }
}

void CNetworkManagerAccess::EndDial()
{
    m_dial = Dialing{};
    m_secrets->EndDial();
}

bool CNetworkManagerAccess::DialResolved() const
{
    if (!m_dial.active || m_dial.activePath.isEmpty())
        return false;
    const CNmObjectCache::Active* active = m_cache->ActiveAt(m_dial.activePath);
    return active && active->loaded;
}

void CNetworkManagerAccess::ReplayHeldSignals()
{
    if (!DialResolved())
        return;
    const QList<HeldSignal> held = std::exchange(m_dial.held, {});
    const QString devicePath = m_cache->ActiveAt(m_dial.activePath)->devicePath;
    const QString activePath = m_dial.activePath;
    for (const HeldSignal& signal : held) {
        if (!m_dial.active)
            break;
        if (signal.device && !devicePath.isEmpty() && signal.path == devicePath)
            Notify(m_dial.progress.OnDeviceState(signal.state, signal.reason));
        else if (!signal.device && signal.path == activePath)
            Notify(m_dial.progress.OnActiveState(signal.state, signal.reason));
    }
}

void CNetworkManagerAccess::OnDeviceStateChanged(const QString& path, uint newState, uint reason)
{
    if (!m_dial.active)
        return;
    if (!DialResolved()) {
        if (m_dial.held.size() < kMaxHeldSignals)
            m_dial.held.append({true, path, newState, reason});
        return;
    }
    const CNmObjectCache::Active* active = m_cache->ActiveAt(m_dial.activePath);
    if (active && active->devicePath == path)
        Notify(m_dial.progress.OnDeviceState(newState, reason));
}

void CNetworkManagerAccess::OnActiveStateChanged(const QString& path, uint state, uint reason)
{
    if (!m_dial.active)
        return;
    if (!DialResolved()) {
        if (m_dial.held.size() < kMaxHeldSignals)
            m_dial.held.append({false, path, state, reason});
        return;
    }
    if (m_dial.activePath == path)
        Notify(m_dial.progress.OnActiveState(state, reason));
}

void CNetworkManagerAccess::OnActivated(Handle handle, const QDBusMessage& reply)
{
    const bool cancelled = m_cancelled.remove(handle);
    const bool dialing = m_dial.active && m_dial.handle == handle;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const int error = ServiceError(reply);
        if (dialing)
            Notify(m_dial.progress.Fail(static_cast<unsigned>(error)));
        return;
    }
    const QString path = CNmObjectCache::PathOf(reply.arguments().constFirst());
    m_cache->AdoptActive(path, handle);
    if (cancelled) {
        CDBusAsyncCall::Watch(m_manager->DeactivateConnection(QDBusObjectPath(path)), this,
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
    m_cache->LoadProfiles();
}
