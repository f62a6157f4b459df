#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that end a desktop program (SIGTERM at logout, SIGINT, SIGHUP) into a
// Qt signal on the event loop. The handler itself only writes the signal's number into a
// pipe; everything else runs later on the user-interface thread, so a file being written
// when the signal arrives is finished first.
//
// One instance per process; the default handlers come back when it is destroyed.
class CSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit CSignalWatcher(QObject* parent = nullptr);
    ~CSignalWatcher() override;

    // False when the pipe or the handlers could not be set up.
    bool IsWatching() const { return m_notifier != nullptr; }

Q_SIGNALS:
    // One of the watched signals arrived.
    void Received(int signalNumber);

private:
    void OnReadable();

    int m_fds[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
