#include "tools/toolworker.h"

#include <QThread>

void CToolWorker::Start(std::function<QString()> job, QObject* receiver,
                        std::function<void(const QString&)> done)
{
    // The relay lives on the caller's thread; its signal crosses to the receiver queued,
    // and the connection goes with the receiver if that is deleted first.
    auto* relay = new CToolWorker;
    if (receiver && done)
        connect(relay, &CToolWorker::Done, receiver, std::move(done));
    QThread* thread = QThread::create([relay, job = std::move(job)] { emit relay->Done(job()); });
    connect(thread, &QThread::finished, relay, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}
