#pragma once

#include "dialer/remoteaccess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QObject>
#include <QVariantMap>

#include <memory>
#include <optional>

class CNmSecretAgent;
class CSettingsStore;
class QDBusServiceWatcher;

// The dial-up service of a Linux desktop: NetworkManager on the system bus.
//
// Entries are the connection profiles of dial-up kinds (gsm, cdma, pppoe, adsl, bluetooth)
// and every profile marked metered (connection.metered yes), named by their id, in
// NetworkManager's order. Connections are the activated active connections of those
// profiles. Everything is kept in memory and updated from NetworkManager's signals, so
// EnumEntries and EnumConnections cost no D-Bus call; only commands (dial, hang-up,
// delete) and the arrival of a new profile, active connection or device call it.
//
// A dial activates the profile and turns the device's states into the progress states of
// the interface; a failure is mapped from NetworkManager's reason onto an error code.
// While the backend exists it is NetworkManager's secret agent and answers for the entry
// being dialled with the user name and password given to Dial, else with the ones stored
// in the settings section "Connections". Creating and editing a profile open
// nm-connection-editor.
//
// Lives on the user-interface thread; the notifier is called there, from the D-Bus signal
// handlers.
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
    int EnumConnections(QList<CRasConnection>& out) override;
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
        QString profilePath;
        QString devicePath;
        uint state = 0;
    };
    struct Dialing {
        bool active = false;
        QString entry;
        QString user;
        QString password;
        QString activePath;
        DialNotifier notifier;
        unsigned lastState = OpenPort;
        uint lastDeviceState = 0;
        bool failed = false; // the device failed for a reason the connection may tell better
        uint failReason = 0;
    };

    // A method call to NetworkManager; the reply, or an error message.
    QDBusMessage Call(const QString& path, const QString& interfaceName, const QString& method,
                      const QVariantList& arguments = {}) const;
    QVariantMap GetAll(const QString& path, const QString& interfaceName) const;

    void Subscribe();
    void Reload();
    void LoadProfiles();
    std::optional<Profile> ReadProfile(const QString& path) const;
    void SetActivePaths(const QStringList& paths);
    void AddActive(const QString& path);
    void SetActiveDevices(Active& active, const QStringList& devices);
    void LoadDevice(const QString& path);
    const Profile* FindProfile(const QString& entry) const;
    const Profile* ProfileAt(const QString& path) const;
    QString ActivePathOf(Handle handle) const;

    bool CredentialsFor(const QString& entry, QString& user, QString& password) const;
    // Tells the dial's notifier, unless the dial has ended; state Connected or
    // Disconnected, or an error, ends it.
    void Notify(unsigned state, unsigned error);
    void OnDialDeviceState(uint newState, uint reason);
    int RunEditor(const QStringList& arguments);
    int ServiceError(const QDBusMessage& reply);

    QDBusConnection m_bus;
    CSettingsStore* m_store;
    std::unique_ptr<CNmSecretAgent> m_agent;
    QDBusServiceWatcher* m_watcher = nullptr;

    QList<Profile> m_profiles;        // in NetworkManager's order
    QHash<QString, Device> m_devices; // by object path
    QHash<QString, Active> m_active;  // by object path
    QStringList m_activeOrder;        // NetworkManager's order
    Handle m_nextHandle = 1;
    Dialing m_dial;
    QString m_lastServiceError;
};
