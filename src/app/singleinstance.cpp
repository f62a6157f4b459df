#include "app/singleinstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {
// A request line longer than this is not one of ours.
constexpr qint64 kMaxRequest = 4096;
} // namespace

CSingleInstance::CSingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_socketPath(QDir(folder).filePath(QStringLiteral("orvalis.sock")))
    , m_lockPath(QDir(folder).filePath(QStringLiteral("orvalis.lock")))
{}

CSingleInstance::~CSingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool CSingleInstance::Claim()
{
    if (m_lockFd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        // No place for the lock (a read-only runtime folder): run rather than refuse to.
        m_unguarded = true;
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

bool CSingleInstance::Listen()
{
    if (m_lockFd < 0 && !m_unguarded)
        return false;
    // We hold the lock, so a socket file here is a leftover of a killed instance.
    QLocalServer::removeServer(m_socketPath);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return m_server->listen(m_socketPath);
}

bool CSingleInstance::Send(const QByteArray& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(static_cast<int>(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(request + '\n');
            if (!socket.waitForBytesWritten(
                    static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
                return false;
            while (!socket.canReadLine() && !deadline.hasExpired()) {
                if (!socket.waitForReadyRead(
                        static_cast<int>(qMax<qint64>(1, deadline.remainingTime()))))
                    break;
            }
            return socket.canReadLine() && socket.readLine().trimmed() == "ok";
        }
        if (deadline.hasExpired())
            return false;
        // The running instance may hold the lock but not listen yet: try again shortly.
        QThread::msleep(50);
    }
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(kMaxRequest).trimmed();
                socket->write("ok\n");
                socket->flush();
                Q_EMIT RequestReceived(line);
            }
            if (socket->bytesAvailable() > kMaxRequest)
                socket->abort();
        });
    }
}
