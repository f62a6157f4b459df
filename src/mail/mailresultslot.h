#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <mutex>

// Where a mail check's worker hands its result: a receiver that the owner sets, changes
// or clears on its own thread while workers may deliver from theirs. A worker that ends
// after its receiver is gone delivers to nothing.
class CMailResultSlot {
public:
    using Receiver = std::function<void(const QString& result)>;
    // Gets the SHA-256 digest of a server certificate that was not trusted, before the
    // result that says so.
    using CertificateReceiver = std::function<void(const QByteArray& sha256)>;

    void Set(Receiver receiver, CertificateReceiver refused = {});
    void Clear();
    // Called by a worker; the receivers run on the worker's thread, under the slot's lock,
    // so the owner cannot go away during the call.
    void Deliver(const QString& result, const QByteArray& refusedSha256 = QByteArray());

private:
    std::mutex m_mutex;
    Receiver m_receiver;
    CertificateReceiver m_refused;
};
