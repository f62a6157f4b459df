#include "dialer/dbusasynccall.h"

#include <QDBusPendingCallWatcher>
#include <QObject>

QDBusMessage CDBusAsyncCall::MethodCall(const QString& path, const QString& interfaceName,
                                        const QString& method, const QVariantList& arguments)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), path, interfaceName, method);
    call.setArguments(arguments);
    return call;
}

void CDBusAsyncCall::Send(const QDBusConnection& bus, const QDBusMessage& call, QObject* owner,
                          ReplyHandler onReply)
{
    Watch(bus.asyncCall(call, kTimeoutMs), owner, std::move(onReply));
}

void CDBusAsyncCall::Watch(const QDBusPendingCall& call, QObject* owner, ReplyHandler onReply)
{
    // The watcher is the owner's child: destroying the owner destroys it, and with it the
    // connection to the handler. A call that has failed already (no bus) still reports
    // through the event loop.
    auto* watcher = new QDBusPendingCallWatcher(call, owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                     [watcher, onReply = std::move(onReply)] {
                         watcher->deleteLater();
                         if (onReply)
                             onReply(watcher->reply());
                     });
}
