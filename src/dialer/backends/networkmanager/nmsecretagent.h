#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// NetworkManager's a{sa{sv}}: settings by setting name, values by key.
using NMVariantMapMap = QMap<QString, QVariantMap>;
Q_DECLARE_METATYPE(NMVariantMapMap)

// A NetworkManager secret agent: when NetworkManager needs the user name and password of
// a dial-up profile it asks the registered agents, and this one answers with the
// credentials the program keeps for the entry (the profile's id), so that a dial does not
// stop at another program's password prompt. Only the "username" and "password" keys of
// the gsm, cdma and pppoe settings are given; for anything else, or when no credentials
// are known, it answers NoSecrets and NetworkManager asks elsewhere.
//
// The credentials may have to come from the desktop's keyring, which answers later: the
// reply to GetSecrets is sent once the lookup has answered, and the window's thread never
// waits for it. A request that NetworkManager cancels meanwhile is answered at once and
// the late answer dropped.
//
// Lives on the thread that owns the D-Bus connection (the user-interface thread).
class CNmSecretAgent : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager.SecretAgent")

public:
    // Gets the entry's credentials (found false when nothing is known); may answer later.
    using CredentialsReply =
        std::function<void(bool found, const QString& user, const QString& password)>;
    using CredentialsLookup = std::function<void(const QString& entry, CredentialsReply reply)>;
    using SecretsReply = std::function<void(const NMVariantMapMap& secrets)>;

    static constexpr const char* kObjectPath = "/org/freedesktop/NetworkManager/SecretAgent";
    static constexpr const char* kIdentifier = "org.orvalis.Orvalis";

    CNmSecretAgent(QDBusConnection bus, CredentialsLookup lookup, QObject* parent = nullptr);
    ~CNmSecretAgent() override;

    // Registers the D-Bus type NMVariantMapMap; safe to call more than once.
    static void RegisterTypes();

    // Exports the object (once) and asks NetworkManager's agent manager to register it,
    // without waiting for the answer (RegistrationAnswered brings it); called again whenever
    // NetworkManager (re)starts. False when the object could not be exported.
    bool Register();
    // True once NetworkManager has accepted the last registration.
    bool IsRegistered() const { return m_registered; }

    // The secrets of one request, as GetSecrets answers them (empty when none are known),
    // given to done when the lookup has answered. done is not called once the agent is gone.
    void SecretsFor(const NMVariantMapMap& connection, const QString& settingName,
                    SecretsReply done);

Q_SIGNALS:
    void RegistrationAnswered(bool accepted);

public slots:
    NMVariantMapMap GetSecrets(const NMVariantMapMap& connection,
                               const QDBusObjectPath& connectionPath, const QString& settingName,
                               const QStringList& hints, uint flags);
    void CancelGetSecrets(const QDBusObjectPath& connectionPath, const QString& settingName);
    void SaveSecrets(const NMVariantMapMap& connection, const QDBusObjectPath& connectionPath);
    void DeleteSecrets(const NMVariantMapMap& connection, const QDBusObjectPath& connectionPath);

private:
    // A GetSecrets waiting for its credentials.
    struct Pending {
        quint64 id = 0;
        QString connectionPath;
        QString settingName;
        QDBusMessage request;
    };

    void Answer(quint64 id, const NMVariantMapMap& secrets);

    QDBusConnection m_bus;
    CredentialsLookup m_lookup;
    QList<Pending> m_pending;
    quint64 m_nextId = 1;
    bool m_exported = false;
    bool m_registered = false;
};
