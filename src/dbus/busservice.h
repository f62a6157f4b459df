#pragma once

#include "dbus/busproperties.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class CConnectionMonitor;
class CMonitorDisplay;
class CSettingsStore;

// The running program on the session bus: org.orvalis.Orvalis at /org/orvalis/Orvalis,
// interface org.orvalis.Orvalis1 (org.orvalis.Orvalis1.xml, served by the adaptor Qt
// generates from it). A request from the bus comes from a program: it asks no question.
//
// The properties follow the monitor: a change goes out when a call starts or ends, or a
// mail count or the data plan's usage is shown; the seconds and byte counts of a call go
// out with those, or alone every CBusProperties::kCountsPeriod seconds (each send wakes the
// bus connection's thread); between calls nothing wakes up for the bus.
class CBusService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool Connected READ Connected)
    Q_PROPERTY(QString Entry READ Entry)
    Q_PROPERTY(qulonglong Seconds READ Seconds)
    Q_PROPERTY(qulonglong BytesReceived READ BytesReceived)
    Q_PROPERTY(qulonglong BytesSent READ BytesSent)
    Q_PROPERTY(int MailCount READ MailCount)
    Q_PROPERTY(double UsagePercent READ UsagePercent)
public:
    static constexpr const char* kService = "org.orvalis.Orvalis";
    static constexpr const char* kPath = "/org/orvalis/Orvalis";
    static constexpr const char* kInterface = "org.orvalis.Orvalis1";

    // What the requests do, given by the program.
    struct Actions {
        std::function<QStringList()> entries; // the phonebook
        std::function<void()> dial;           // the default connection, as the program dials it
        std::function<bool()> dialing;        // a dial or its credentials window is under way
        std::function<void()> hangUp;         // without a question
        std::function<void()> checkMail;
        std::function<void()> checkUpdate;
        std::function<void()> showWindow;
    };

    CBusService(const CSettingsStore& store, CConnectionMonitor& monitor, CMonitorDisplay& display,
                Actions actions, QObject* parent = nullptr);
    ~CBusService() override;

    // Puts the object on `bus` and takes the service name. False when the bus is not there
    // or the name is taken (another instance has it): then nothing stays on the bus.
    bool Publish(QDBusConnection bus);

    bool Connected() const;
    QString Entry() const;
    qulonglong Seconds() const;
    qulonglong BytesReceived() const;
    qulonglong BytesSent() const;
    int MailCount() const;
    double UsagePercent() const;

public Q_SLOTS:
    void Connect(const QString& entry);
    void HangUp();
    void CheckMail();
    void CheckUpdate();
    void ShowWindow();
    QVariantMap Status();
    QVariantMap Usage();

Q_SIGNALS:
    void CallStarted(const QVariantMap& call);
    void CallEnded(const QVariantMap& record);
    void UsageThresholdPassed(uint percent);

private:
    CBusProperties Now() const;
    // Sends PropertiesChanged for what changed since the last look.
    void Follow();

    const CSettingsStore& m_store;
    CConnectionMonitor& m_monitor;
    Actions m_actions;
    QDBusConnection m_bus;
    bool m_published = false;
    CBusProperties m_last; // what went out last
};
