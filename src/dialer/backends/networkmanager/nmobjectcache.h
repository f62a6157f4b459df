#pragma once

#include "dialer/activeconnection.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class CNmSettingsProxy;
class QDBusServiceWatcher;

// What NetworkManager has, as far as the program cares: the connection profiles with their
// settings, the active connections and their devices. Read in the background when Start
// finds NetworkManager (and whenever it starts again) and kept up to date from its signals,
// so that looking something up costs no D-Bus call. No call waits for its answer.
//
// Watched profiles are the ones of dial-up kinds (gsm, cdma, pppoe, adsl, bluetooth) and
// every profile marked metered (connection.metered yes), in NetworkManager's order.
//
// The state changes of devices and active connections are passed on as signals, also for
// objects not known yet: a dial may hear of its device before it knows which one it is.
class CNmObjectCache : public QObject {
    Q_OBJECT

public:
    using Handle = RasHandle;

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

    using ReplyHandler = std::function<void(const QDBusMessage& reply)>;

    static constexpr const char* kManagerPath = "/org/freedesktop/NetworkManager";
    static constexpr const char* kSettingsPath = "/org/freedesktop/NetworkManager/Settings";

    explicit CNmObjectCache(QDBusConnection bus, QObject* parent = nullptr);
    ~CNmObjectCache() override;

    // True when NetworkManager has an owner on the bus.
    static bool IsRunning(const QDBusConnection& bus);

    // Listens to NetworkManager's signals and, when it is running, starts reading.
    void Start();
    // Reads the list of profiles again.
    void LoadProfiles();

    // The ids of the watched profiles.
    QStringList Entries() const;
    // The activated active connections of watched profiles whose device is known.
    QList<CActiveConnection> Connections() const;
    // A watched profile by its id; letter case counts only between two that differ in it.
    const Profile* FindProfile(const QString& entry) const;
    const Profile* ProfileAt(const QString& path) const;
    const Active* ActiveAt(const QString& path) const;
    // True while an active connection of the profile is activating or activated.
    bool IsProfileActive(const QString& profilePath) const;
    QString ActivePathOf(Handle handle) const;
    // An "o" value (an object path) as a reply or a property gives it.
    static QString PathOf(const QVariant& value);

    // A handle no connection has had.
    Handle NewHandle() { return m_nextHandle++; }
    // The active connection NetworkManager started for a dial is known by the dial's handle.
    void AdoptActive(const QString& path, Handle handle);
    // Asks NetworkManager to delete the profile (onReply gets the answer) and takes it off
    // the list at once, before NetworkManager says it is gone.
    void DeleteProfile(const QString& path, ReplyHandler onReply);

Q_SIGNALS:
    // NetworkManager is there (at Start or when it has started again): reading has begun.
    void Reloaded();
    void DeviceStateChanged(const QString& path, uint newState, uint reason);
    void ActiveStateChanged(const QString& path, uint state, uint reason);
    // The properties of an active connection have been read.
    void ActiveLoaded(const QString& path);
    // What Connections() lists is no longer what it listed before.
    void ConnectionsChanged();

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
    // Sends a method call to NetworkManager; onReply gets its answer later.
    void Send(const QString& path, const QString& interfaceName, const QString& method,
              const QVariantList& arguments, ReplyHandler onReply);

    void Subscribe();
    void Reload();
    void OnProfileList(const QStringList& paths);
    void ReadProfile(const QString& path);
    void OnProfileSettings(const QString& path, const QDBusMessage& reply);
    void SetActivePaths(const QStringList& paths);
    void AddActive(const QString& path, Handle handle);
    void OnActiveProperties(const QString& path, const QDBusMessage& reply);
    void SetActiveDevices(Active& active, const QStringList& devices);
    void LoadDevice(const QString& path);
    void OnDeviceProperties(const QString& path, const QDBusMessage& reply);
    // After anything that may change what Connections() lists: says so when it did.
    void NoteConnections();

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    CNmSettingsProxy* m_settings = nullptr; // a child, made by Start
    QList<Profile> m_profiles;              // in NetworkManager's order
    QHash<QString, Device> m_devices;       // by object path
    QHash<QString, Active> m_active;        // by object path
    QStringList m_activeOrder;              // NetworkManager's order
    Handle m_nextHandle = 1;
    QList<CActiveConnection> m_listed; // what Connections() gave at the last change
};
