#pragma once

#include "monitor/commandtable.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// One running instance per user. The running instance holds a lock file and listens on a
// local socket beside it; a later start finds the lock taken and sends its request (one
// line of text) over the socket instead.
//
// The lock (an flock on a file beside the socket) decides who runs, not the socket: two
// starts at the same moment cannot both win, and the kernel drops the lock of a killed
// instance, so what it left behind does not stop the next start.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // The request a second start sends: bring the window up.
    static constexpr const char* kShowRequest = CCommandTable::kShowRequest;

    // Socket and lock live in `folder` (normally CAppPaths::RuntimeDir()).
    explicit CSingleInstance(const QString& folder, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is now the running instance. Needs no event loop.
    bool Claim();
    // Starts listening for requests; call once the application object exists.
    bool Listen();
    // Sends one request to the running instance and waits for its acknowledgement.
    // Retries while the other instance is still starting, up to timeoutMs in all.
    bool Send(const QByteArray& request, int timeoutMs = 2000);

    QString SocketPath() const { return m_socketPath; }

Q_SIGNALS:
    void RequestReceived(const QByteArray& request);

private:
    void OnNewConnection();

    QString m_socketPath;
    QString m_lockPath;
    int m_lockFd = -1;
    bool m_unguarded = false;
    std::unique_ptr<QLocalServer> m_server;
};
