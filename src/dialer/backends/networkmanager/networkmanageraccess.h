#pragma once

#include "dialer/remoteaccess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QVariantMap>

#include <functional>
#include <memory>

class CCredentialStore;
class CNmSecretAgent;
class CSettingsStore;
class QDBusServiceWatcher;

// The dial-up service of a Linux desktop: NetworkManager on the system bus.
//
// Entries are the connection profiles of dial-up kinds (gsm, cdma, pppoe, adsl, bluetooth)
// and every profile marked metered (connection.metered yes), named by their id, in
// NetworkManager's order. Connections are the activated active connections of those
// profiles. Everything is kept in memory and updated from NetworkManager's signals, so
// EnumEntries and EnumConnections cost no D-Bus call.
//
// No call to NetworkManager waits for its answer: a stalled NetworkManager must not freeze
// the window. Commands (dial, hang-up, delete) send their request and return; the profiles,
// active connections and devices are read in the background when the backend starts and
// when signals announce them, and show up in the lists once their answers are in. A dial
// whose request NetworkManager refuses later reports the refusal through its notifier.
//
// A dial activates the profile and turns the device's states into the progress states of
// the interface; a failure is mapped from NetworkManager's reason onto an error code.
// While the backend exists it is NetworkManager's secret agent and answers for the entry
// being dialled with the user name and password given to Dial, else with the ones stored
// for the entry (CCredentialStore: the user name in the settings section "Connections",
// the password in the desktop's keyring or there). Creating and editing a profile open
// nm-connection-editor.
//
// Lives on the user-interface thread; the notifier is called there, from the D-Bus signal
// and reply handlers.
class CNetworkManagerAccess : public QObject, public CRemoteAccess {
    Q_OBJECT

public:
    // Codes of failures that have no code of their own in the interface.
    enum NmError : int {
        ErrorNotRunning = 20001,     // NetworkManager is not on the bus
        ErrorServiceRefused = 20002, // NetworkManager refused the request (its text is kept)
        ErrorNoSecrets = 20003,      // no user name or password was given
        ErrorDialFailed = 20004,     // the modem could not dial
        ErrorPppStartFailed = 20005,
        ErrorPppDisconnected = 20006,
        ErrorPppFailed = 20007,
        ErrorActivationFailed = 20008, // any other reason
        ErrorNoEditor = 20009,         // nm-connection-editor is not installed
    };

    static constexpr const char* kService = "org.freedesktop.NetworkManager";

    // store may be null: the agent then only knows the credentials given to Dial.
    explicit CNetworkManagerAccess(CSettingsStore* store,
                                   QDBusConnection bus = QDBusConnection::systemBus());
    ~CNetworkManagerAccess() override;

    // True when NetworkManager has an owner on the system bus.
    static bool IsRunning(QDBusConnection bus = QDBusConnection::systemBus());

    // The error code of a failed device state change (NetworkManager's device reason) or,
    // when that says nothing, of the active connection's reason.
    static int ErrorForReason(uint deviceReason, uint activeReason);

    int EnumEntries(QStringList& out) override;
    int CreateEntry() override;
    int EditEntry(const QString& name) override;
    int DeleteEntry(const QString& name) override;
    int Dial(const QString& entry, const QString& user, const QString& password,
             DialNotifier notifier, Handle& outHandle) override;
    int HangUp(Handle handle) override;
    int EnumConnections(QList<CActiveConnection>& out) override;
    bool GetErrorString(int code, QString& text) const override;
    bool ReadByteCounters(const QString& interfaceName, quint64& received, quint64& sent) override;

private slots:
    void OnServiceRegistered();
    void OnPropertiesChanged(const QString& interfaceName, const QVariantMap& changed,
                             const QStringList& invalidated, const QDBusMessage& message);
    void OnDeviceStateChanged(uint newState, uint oldState, uint reason,
                              const QDBusMessage& message);
    void OnActiveStateChanged(uint state, uint reason, const QDBusMessage& message);
    void OnNewConnection(const QDBusObjectPath& path);
    void OnConnectionRemoved(const QDBusObjectPath& path);
    void OnConnectionUpdated(const QDBusMessage& message);

private:
    struct Profile {
        QString path;
        bool loaded = false; // its settings have been read
        QString id;
        QString uuid;
        QString type;
        bool watched = false;
    };
    struct Device {
        QString name; // product, driver or interface
        QString interfaceName;
        QString type;
    };
    struct Active {
        Handle handle = 0;
        bool loaded = false; // its properties have been read
        QString profilePath;
        QString devicePath;
        uint state = 0;
        bool stateSignalled = false; // a signal has told the state: it beats a read
    };
    // A state change of a device or an active connection, kept while it is not yet known
    // whether it concerns the dial.
    struct HeldSignal {
        bool device = false;
        QString path;
        uint state = 0;
        uint reason = 0;
    };
    struct Dialing {
        bool active = false;
        Handle handle = 0;
        QString entry;
        QString user;
        QString password;
        QString activePath;
        DialNotifier notifier;
        unsigned lastState = OpenPort;
        uint lastDeviceState = 0;
        bool failed = false; // the device failed for a reason the connection may tell better
        uint failReason = 0;
        QList<HeldSignal> held; // until the dial's active connection and device are known
    };

    // Sends a method call to NetworkManager; onReply gets its answer later.
    void Send(const QString& path, const QString& interfaceName, const QString& method,
              const QVariantList& arguments, std::function<void(const QDBusMessage&)> onReply);

    void Subscribe();
    void Reload();
    void LoadProfiles();
    void OnProfileList(const QStringList& paths);
    void ReadProfile(const QString& path);
    void OnProfileSettings(const QString& path, const QDBusMessage& reply);
    void SetActivePaths(const QStringList& paths);
    void AddActive(const QString& path, Handle handle);
    void OnActiveProperties(const QString& path, const QDBusMessage& reply);
    void SetActiveDevices(Active& active, const QStringList& devices);
    void LoadDevice(const QString& path);
    void OnDeviceProperties(const QString& path, const QDBusMessage& reply);
    void OnActivated(Handle handle, const QDBusMessage& reply);
    void OnHangUpAnswer(const QDBusMessage& reply);
    void OnDeleteAnswer(const QDBusMessage& reply);
    const Profile* FindProfile(const QString& entry) const;
    const Profile* ProfileAt(const QString& path) const;
    QString ActivePathOf(Handle handle) const;

    // Answers the secret agent, from the dial's own credentials at once or later from the
    // stored ones.
    void CredentialsFor(
        const QString& entry,
        std::function<void(bool found, const QString& user, const QString& password)> reply);
    // Tells the dial's notifier, unless the dial has ended; state Connected or
    // Disconnected, or an error, ends it.
    void Notify(unsigned state, unsigned error);
    void OnDialDeviceState(uint newState, uint reason);
    void OnDialActiveState(uint state, uint reason);
    // The dial's active connection and device are known once the activation was answered
    // and the connection's properties were read; the state changes held until then are
    // replayed.
    bool DialResolved() const;
    void ReplayHeldSignals();
    int RunEditor(const QStringList& arguments);
    int ServiceError(const QDBusMessage& reply);

    QDBusConnection m_bus;
    CSettingsStore* m_store;
    // Made at the first request, so that the session bus is only reached when needed.
    std::unique_ptr<CCredentialStore> m_credentials;
    std::unique_ptr<CNmSecretAgent> m_agent;
    QDBusServiceWatcher* m_watcher = nullptr;

    QList<Profile> m_profiles;        // in NetworkManager's order
    QHash<QString, Device> m_devices; // by object path
    QHash<QString, Active> m_active;  // by object path
    QStringList m_activeOrder;        // NetworkManager's order
    Handle m_nextHandle = 1;
    Dialing m_dial;
    QSet<Handle> m_cancelled; // hung up before NetworkManager answered their activation
    QString m_lastServiceError;
};
