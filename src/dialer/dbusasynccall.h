#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QString>
#include <QVariantList>

#include <functional>

class QObject;

// One D-Bus method call (to NetworkManager, the keyring) that does not wait for the answer: the
// window's thread sends it and goes on, and the reply (or the error message of a refusal or
// time-out) reaches the handler later from the event loop of the owner's thread, never during Send.
// The pending call belongs to the owner: when the owner is destroyed first, the reply is
// dropped. Calls through NetworkManager's generated proxies are followed the same way.
class CDBusAsyncCall {
public:
    using ReplyHandler = std::function<void(const QDBusMessage& reply)>;

    static constexpr const char* kService = "org.freedesktop.NetworkManager";
    // NetworkManager may stall for many seconds and still carry out the request afterwards,
    // so the wait is generous: a reply that is given up on may still take effect.
    static constexpr int kTimeoutMs = 30000;

    static QDBusMessage MethodCall(const QString& path, const QString& interfaceName,
                                   const QString& method, const QVariantList& arguments = {});
    static void Send(const QDBusConnection& bus, const QDBusMessage& call, QObject* owner,
                     ReplyHandler onReply = {});
    // The same for a call already sent (through a generated proxy, whose timeout should be
    // kTimeoutMs).
    static void Watch(const QDBusPendingCall& call, QObject* owner, ReplyHandler onReply = {});
};
