#pragma once

#include "app/commandtable.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class QLocalSocket;
class QSocketNotifier;
class QTimer;

// One running instance per user. The running instance holds a lock file and listens on a
// local socket beside it; a later start finds the lock taken and sends its request (one
// line of text) over the socket instead. Each request is answered with one line: "ok", or
// "error ..." for a request the instance does not know. The request "status" is answered
// without a signal, with "ok " and the line of the status provider; one that comes while
// the program is still starting (no provider yet) is answered as soon as there is one.
//
// The lock (an flock on a file beside the socket) decides who runs, not the socket: two
// starts at the same moment cannot both win, and the kernel drops the lock of a killed
// instance, so what it left behind does not stop the next start.
//
// The socket does not trust its callers: it serves a bounded number of them at once
// (closing any beyond that at once), drops one that sends no complete request for a while,
// and keeps listening, on the same file, when the process runs out of file descriptors.
class CSingleInstance : public QObject {
    Q_OBJECT
public:
    // The request a second start sends: bring the window up.
    static constexpr const char* kShowRequest = CCommandTable::kShowRequest;
    // The request for the status line.
    static constexpr const char* kStatusRequest = "status";
    // Clients served at once, and how long one may stay without sending a whole request.
    static constexpr int kMaxClients = 32;
    static constexpr int kIdleTimeoutMs = 2000;

    enum class SendResult {
        Accepted,   // the running instance took the request
        Refused,    // it answered with an error
        NoAnswer,   // an instance holds the lock but gave no answer in time
        NotRunning, // no instance runs
    };

    // Socket and lock live in `folder` (normally CAppPaths::RuntimeDir()).
    explicit CSingleInstance(const QString& folder, QObject* parent = nullptr);
    ~CSingleInstance() override;

    // True when this process is now the running instance. Needs no event loop.
    bool Claim();
    // Opens the socket, so that callers can connect from now on; their requests wait until
    // Listen. Needs no application object: call it right after Claim.
    bool Bind();
    // Starts answering requests (binding first if Bind was not called); call once the
    // application object exists.
    bool Listen();
    // Sends one request to the running instance and waits for its answer. Retries while
    // an instance holds the lock but does not listen yet, up to timeoutMs in all. When
    // accepted, `answer` (if given) receives what followed "ok ".
    SendResult Send(const QByteArray& request, int timeoutMs = 2000, QByteArray* answer = nullptr);
    // What the "status" request is answered with: one line without a line end. Unset (the
    // program is still starting, or ending), the request waits for a provider; setting one
    // answers the requests that wait.
    void SetStatusProvider(std::function<QByteArray()> provider);

    QString SocketPath() const { return m_socketPath; }
    bool IsListening() const { return m_listenFd >= 0; }
    int ClientCount() const { return static_cast<int>(m_clients.size()); }
    void SetMaxClients(int count) { m_maxClients = count; }
    void SetIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

Q_SIGNALS:
    void RequestReceived(const QByteArray& request);

private:
    int OpenSocket() const;
    bool OpenListener();
    void WatchListener();
    void CloseListener();
    void OnAcceptReady();
    bool RefuseOneWithSpare();
    void AddClient(int fd);
    void OnClientData(QLocalSocket* socket, QTimer* idle);
    void AnswerStatus(QLocalSocket* socket);
    void DropClient(QLocalSocket* socket);
    bool LockHeldElsewhere() const;

    QString m_socketPath;
    QString m_lockPath;
    int m_lockFd = -1;
    bool m_unguarded = false;
    int m_listenFd = -1;
    // Kept open to be given up when the process has no descriptor left, so a waiting
    // caller can still be taken off the queue and closed.
    int m_spareFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QSet<QLocalSocket*> m_clients;
    // Callers whose status request waits for a provider, with their idle timers; their
    // later requests wait behind it.
    QHash<QLocalSocket*, QTimer*> m_waitingForStatus;
    int m_maxClients = kMaxClients;
    int m_idleTimeoutMs = kIdleTimeoutMs;
    std::function<QByteArray()> m_statusProvider;
};
