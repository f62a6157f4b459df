#pragma once

#include <QString>

#include <functional>
#include <mutex>

// Where a mail check's worker hands its result: a receiver that the owner sets, changes
// or clears on its own thread while workers may deliver from theirs. A worker that ends
// after its receiver is gone delivers to nothing.
class CMailResultSlot {
public:
    using Receiver = std::function<void(const QString& result)>;

    void Set(Receiver receiver);
    void Clear();
    // Called by a worker; the receiver runs on the worker's thread, under the slot's lock,
    // so the owner cannot go away during the call.
    void Deliver(const QString& result);

private:
    std::mutex m_mutex;
    Receiver m_receiver;
};
