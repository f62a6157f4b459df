#pragma once

#include "dialer/backends/networkmanager/nmdialprogress.h"
#include "dialer/remoteaccess.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class CCredentialStore;
class CNmManagerProxy;
class CNmObjectCache;
class CNmSecretBridge;

// The dial-up service of a Linux desktop: NetworkManager on the system bus.
//
// Entries are the connection profiles of dial-up kinds (gsm, cdma, pppoe, adsl, bluetooth)
// and every profile marked metered (connection.metered yes), named by their id, in
// NetworkManager's order. Connections are the activated active connections of those
// profiles. Everything is kept in memory and updated from NetworkManager's signals
// (CNmObjectCache), so EnumEntries and EnumConnections cost no D-Bus call.
//
// No call to NetworkManager waits for its answer: a stalled NetworkManager must not freeze
// the window. Commands (dial, hang-up, delete) send their request and return; the profiles,
// active connections and devices are read in the background when the backend starts and
// when signals announce them, and show up in the lists once their answers are in. A dial
// whose request NetworkManager refuses later reports the refusal through its notifier.
//
// A dial activates the profile and turns the device's states into the progress states of
// the interface (CNmDialProgress); a failure is mapped from NetworkManager's reason onto an
// error code. While the backend exists it is NetworkManager's secret agent (CNmSecretBridge)
// and answers for the entry being dialled with the user name and password given to Dial,
// else with the ones the credential store keeps for the entry. Creating and editing a
// profile open nm-connection-editor.
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

    // credentials (not owned, must outlive the backend) may be null: the agent then only
    // knows the credentials given to Dial.
    explicit CNetworkManagerAccess(CCredentialStore* credentials,
                                   QDBusConnection bus = QDBusConnection::systemBus());
    ~CNetworkManagerAccess() override;

    // True when NetworkManager has an owner on the system bus.
    static bool IsRunning(QDBusConnection bus = QDBusConnection::systemBus());

    int EnumEntries(QStringList& out) override;
    int CreateEntry() override;
    int EditEntry(const QString& name) override;
    int DeleteEntry(const QString& name) override;
    int Dial(const QString& entry, const QString& user, const QString& password,
             DialNotifier notifier, Handle& outHandle) override;
    int HangUp(Handle handle) override;
    int EnumConnections(QList<CActiveConnection>& out) override;
    // NetworkManager's signals keep the list: a change of it is told at once.
    bool WatchConnections(std::function<void()> changed) override;
    bool GetErrorString(int code, QString& text) const override;
    bool ReadByteCounters(const QString& interfaceName, quint64& received, quint64& sent) override;

private:
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
        QString activePath;
        DialNotifier notifier;
        CNmDialProgress progress;
        QList<HeldSignal> held; // until the dial's active connection and device are known
    };

    void OnDeviceStateChanged(const QString& path, uint newState, uint reason);
    void OnActiveStateChanged(const QString& path, uint state, uint reason);
    void OnActivated(Handle handle, const QDBusMessage& reply);
    void OnHangUpAnswer(const QDBusMessage& reply);
    void OnDeleteAnswer(const QDBusMessage& reply);

    // Tells the dial's notifier the steps, unless the dial has ended; the final step ends it.
    void Notify(const QList<CNmDialProgress::Step>& steps);
    void EndDial();
    // The dial's active connection and device are known once the activation was answered
    // and the connection's properties were read; the state changes held until then are
    // replayed.
    bool DialResolved() const;
    void ReplayHeldSignals();
    int RunEditor(const QStringList& arguments);
    int ServiceError(const QDBusMessage& reply);

    QDBusConnection m_bus;
    std::unique_ptr<CNmSecretBridge> m_secrets;
    CNmObjectCache* m_cache;    // a child
    CNmManagerProxy* m_manager; // a child
    Dialing m_dial;
    QSet<Handle> m_cancelled; // hung up before NetworkManager answered their activation
    QString m_lastServiceError;
};
