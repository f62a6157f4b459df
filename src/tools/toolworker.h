#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Runs one blocking job of the Internet tools (a ping, a lookup, a time query) on a thread
// of its own, so the window never waits for the network. The job's text is handed to
// `done` on the thread of `receiver`; when the receiver is gone by then, the text is
// dropped. The thread is never waited for: it ends by itself after the job.
class CToolWorker : public QObject {
    Q_OBJECT

public:
    static void Start(std::function<QString()> job, QObject* receiver = nullptr,
                      std::function<void(const QString&)> done = {});

Q_SIGNALS:
    void Done(const QString& text);

private:
    CToolWorker() = default;
};
