#include "monitor/desktopnotifier.h"

#include "common/messagebox.h"
#include "dialer/dbusasynccall.h"

#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

CDesktopNotifier::CDesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    const QString service = QString::fromLatin1(kService);
    const QString path = QString::fromLatin1(kPath);
    const QString interfaceName = QString::fromLatin1(kInterface);
    m_bus.connect(service, path, interfaceName, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
    m_bus.connect(service, path, interfaceName, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnClosed(uint, uint)));
}

CDesktopNotifier::~CDesktopNotifier() = default;

QDBusConnection CDesktopNotifier::NoBus()
{
    return QDBusConnection(QStringLiteral("orvalis-no-bus"));
}

void CDesktopNotifier::Show(const QString& summary, const QString& body, bool offerHangUp)
{
    if (!m_bus.isConnected()) {
        ShowBox(summary, body);
        return;
    }
    QStringList actions;
    if (offerHangUp)
        actions << QString::fromLatin1(kHangUpAction) << tr("Hang up");
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    // No icon, the server's own expiry.
    call << QStringLiteral("Orvalis") << uint(0) << QString() << summary << body << actions
         << QVariantMap() << int(-1);
    CDBusAsyncCall::Watch(m_bus.asyncCall(call, kTimeoutMs), this,
                          [this, summary, body, offerHangUp](const QDBusMessage& reply) {
                              if (reply.type() != QDBusMessage::ReplyMessage ||
                                  reply.arguments().isEmpty()) {
                                  ShowBox(summary, body);
                                  return;
                              }
                              if (offerHangUp)
                                  m_offeringHangUp.append(reply.arguments().first().toUInt());
                          });
}

void CDesktopNotifier::CallEnded()
{
    for (const uint id : std::as_const(m_offeringHangUp)) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QString::fromLatin1(kService), QString::fromLatin1(kPath),
            QString::fromLatin1(kInterface), QStringLiteral("CloseNotification"));
        call << id;
        m_bus.asyncCall(call, kTimeoutMs);
    }
    m_offeringHangUp.clear();
}

void CDesktopNotifier::OnActionInvoked(uint id, const QString& actionKey)
{
    if (actionKey == QLatin1String(kHangUpAction) && m_offeringHangUp.contains(id))
        Q_EMIT HangUpChosen();
}

void CDesktopNotifier::OnClosed(uint id, uint /*reason*/)
{
    m_offeringHangUp.removeAll(id);
}

void CDesktopNotifier::ShowBox(const QString& summary, const QString& body)
{
    // Alerts come from the monitor's tick, which goes on underneath the box.
    if (m_boxOpen)
        return;
    m_boxOpen = true;
    CMessageBox::Warning(summary + u'\n' + body);
    m_boxOpen = false;
}
