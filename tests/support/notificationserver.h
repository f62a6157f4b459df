#pragma once

#include "support/privatebus.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

// A desktop notification server (org.freedesktop.Notifications) on a private session bus
// of the test's own, in the test's process: it records every notification it is asked to
// show and every one it is asked to close, and can press a notification's button.
class CNotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification {
        uint id = 0;
        QString appName;
        uint replacesId = 0;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout = 0;
    };

    CNotificationServer();
    ~CNotificationServer() override;

    // Empty when dbus-daemon is there; else why the tests cannot run.
    static QString MissingTools();

    // Starts the bus, without a server on it yet.
    bool StartBus();
    // A connection of the program to the bus (not the server's).
    QDBusConnection ClientBus() const;
    // Takes the service's name, or gives it up: the bus then has no notification server.
    bool StartServer();
    void StopServer();

    QList<Notification> notifications;
    QList<uint> closed;

    // The user presses the button of this key on a notification.
    void InvokeAction(uint id, const QString& actionKey);

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int timeout);
    QStringList GetCapabilities();
    QString GetServerInformation(QString& vendor, QString& version, QString& protocolVersion);
    void CloseNotification(uint id);

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    QTemporaryDir m_dir;
    CPrivateBus m_bus;
    QByteArray m_address;
    bool m_serving = false;
    uint m_nextId = 1;
};
