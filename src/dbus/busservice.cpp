#include "dbus/busservice.h"

#include "billing/tariff.h"
#include "common/settingskeys.h"
#include "common/settingsstore.h"
#include "dbus/busconnectcheck.h"
#include "dbus/busfields.h"
#include "monitor/connectionmonitor.h"
#include "monitor/monitordisplay.h"
#include "orvalis1adaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

CBusService::CBusService(const CSettingsStore& store, CConnectionMonitor& monitor,
                         CMonitorDisplay& display, Actions actions, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_monitor(monitor)
    , m_actions(std::move(actions))
    , m_bus(QString())
{
    new COrvalis1Adaptor(this);
    connect(&display, &CMonitorDisplay::CallValuesChanged, this, &CBusService::Follow);
    connect(&display, &CMonitorDisplay::MailCountChanged, this, &CBusService::Follow);
    connect(&monitor, &CConnectionMonitor::CallStarted, this, [this] {
        Q_EMIT CallStarted(CBusFields::CallStart(m_monitor.Status()));
        Follow();
    });
    connect(&monitor, &CConnectionMonitor::CallEnded, this, [this](const QString& record) {
        Follow();
        Q_EMIT CallEnded(CBusFields::Record(record));
    });
    connect(&monitor, &CConnectionMonitor::UsageThresholdPassed, this,
            [this](int percent) { Q_EMIT UsageThresholdPassed(uint(percent)); });
}

CBusService::~CBusService()
{
    if (m_published) {
        m_bus.unregisterService(QLatin1String(kService));
        m_bus.unregisterObject(QLatin1String(kPath));
    }
}

bool CBusService::Publish(QDBusConnection bus)
{
    if (!bus.isConnected() ||
        !bus.registerObject(QLatin1String(kPath), this, QDBusConnection::ExportAdaptors))
        return false;
    // Not queued for the name: a second instance stays off the bus.
    if (!bus.registerService(QLatin1String(kService))) {
        bus.unregisterObject(QLatin1String(kPath));
        return false;
    }
    m_bus = bus;
    m_published = true;
    m_last = Now();
    return true;
}

CBusProperties CBusService::Now() const
{
    const CCallStatus status = m_monitor.Status();
    CBusProperties now;
    now.connected = status.connected;
    now.entry = status.entry;
    now.seconds = status.seconds;
    now.received = status.received;
    now.sent = status.sent;
    now.mailCount = m_monitor.MailCount();
    now.usagePercent = m_monitor.Usage().percent;
    return now;
}

void CBusService::Follow()
{
    if (!m_published)
        return;
    const CBusProperties now = Now();
    const QVariantMap changed = now.DueSince(m_last);
    if (changed.isEmpty())
        return;
    m_last = now;
    QDBusMessage signal = QDBusMessage::createSignal(
        QLatin1String(kPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(kInterface) << changed << QStringList();
    m_bus.send(signal);
}

bool CBusService::Connected() const
{
    return m_monitor.Connected();
}

QString CBusService::Entry() const
{
    return m_monitor.Status().entry;
}

qulonglong CBusService::Seconds() const
{
    return qulonglong(qMax<qint64>(0, m_monitor.Status().seconds));
}

qulonglong CBusService::BytesReceived() const
{
    return qulonglong(qMax<qint64>(0, m_monitor.Status().received));
}

qulonglong CBusService::BytesSent() const
{
    return qulonglong(qMax<qint64>(0, m_monitor.Status().sent));
}

int CBusService::MailCount() const
{
    return m_monitor.MailCount();
}

double CBusService::UsagePercent() const
{
    return m_monitor.Usage().percent;
}

void CBusService::Connect(const QString& entry)
{
    CBusConnectCheck::Situation situation;
    if (m_actions.entries)
        situation.entries = m_actions.entries();
    situation.defaultEntry = m_store.Read(Keys::DefaultCon);
    situation.connected = m_monitor.Connected();
    situation.dialing = m_actions.dialing && m_actions.dialing();
    situation.mayDialOnItsOwn = m_monitor.PlanWatch().MayDialOnItsOwn();
    const CBusConnectCheck::Refusal refusal = CBusConnectCheck::Check(entry, situation);
    if (!refusal.Dials()) {
        if (calledFromDBus())
            sendErrorReply(refusal.error, refusal.message);
        return;
    }
    if (m_actions.dial)
        m_actions.dial();
}

void CBusService::HangUp()
{
    if (m_actions.hangUp)
        m_actions.hangUp();
}

void CBusService::CheckMail()
{
    if (m_actions.checkMail)
        m_actions.checkMail();
}

void CBusService::CheckUpdate()
{
    if (m_actions.checkUpdate)
        m_actions.checkUpdate();
}

void CBusService::ShowWindow()
{
    if (m_actions.showWindow)
        m_actions.showWindow();
}

QVariantMap CBusService::Status()
{
    const CCallStatus status = m_monitor.Status();
    return CBusFields::Status(status, CBusFields::CallCost(CTariff::Load(m_store), status));
}

QVariantMap CBusService::Usage()
{
    return CBusFields::Usage(m_monitor.Usage());
}
