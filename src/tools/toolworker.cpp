#include "tools/toolworker.h"

#include <thread>

void CToolWorker::Start(std::function<QString()> job, QObject* receiver,
                        std::function<void(const QString&)> done)
{
    // The relay lives on the caller's thread; its signal crosses to the receiver queued,
    // and the connection goes with the receiver if that is deleted first. A detached
    // thread leaves no thread object behind to be deleted while it still winds down.
    auto* relay = new CToolWorker;
    if (receiver && done)
        connect(relay, &CToolWorker::Done, receiver, std::move(done));
    std::thread([relay, job = std::move(job)] {
        emit relay->Done(job());
        relay->deleteLater();
    }).detach();
}
