#include "app/singleinstance.h"

#include "common/filename.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <utility>

namespace {
// A request line longer than this is not one of ours.
constexpr qint64 kMaxRequest = 4096;
// Callers taken off the queue in one go before other events get their turn.
constexpr int kAcceptsPerWakeUp = 64;
// How long accepting pauses when no descriptor can be had at all.
constexpr int kOutOfFilesPauseMs = 100;

int OpenSpare()
{
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

int AcceptOne(int listenFd)
{
    return ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
}
} // namespace

CSingleInstance::CSingleInstance(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_socketPath(QDir(folder).filePath(QStringLiteral("orvalis.sock")))
    , m_lockPath(QDir(folder).filePath(QStringLiteral("orvalis.lock")))
{}

CSingleInstance::~CSingleInstance()
{
    for (QLocalSocket* socket : m_clients)
        socket->disconnect(this);
    qDeleteAll(m_clients);
    m_clients.clear();
    // The socket file goes while we still hold the lock, so it is surely ours.
    if (m_listenFd >= 0 && m_lockFd >= 0)
        ::unlink(CFileName::Encode(m_socketPath).constData());
    CloseListener();
    if (m_spareFd >= 0)
        ::close(m_spareFd);
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool CSingleInstance::Claim()
{
    if (m_lockFd >= 0)
        return true;
    const int fd = ::open(CFileName::Encode(m_lockPath).constData(),
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

bool CSingleInstance::Bind()
{
    if (m_lockFd < 0 && !m_unguarded)
        return false;
    if (m_listenFd < 0)
        m_listenFd = OpenSocket();
    return m_listenFd >= 0;
}

bool CSingleInstance::Listen()
{
    if (!Bind())
        return false;
    if (m_spareFd < 0)
        m_spareFd = OpenSpare();
    if (!m_notifier)
        WatchListener();
    return true;
}

int CSingleInstance::OpenSocket() const
{
    const QByteArray path = CFileName::Encode(m_socketPath);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return -1;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    // We hold the lock, so a socket file here is a leftover of a killed instance (or our
    // own, when the listening socket broke).
    if (m_lockFd >= 0)
        ::unlink(path.constData());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool CSingleInstance::OpenListener()
{
    CloseListener();
    m_listenFd = OpenSocket();
    if (m_listenFd < 0)
        return false;
    WatchListener();
    return true;
}

void CSingleInstance::WatchListener()
{
    m_notifier = std::make_unique<QSocketNotifier>(m_listenFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &CSingleInstance::OnAcceptReady);
}

void CSingleInstance::CloseListener()
{
    m_notifier.reset();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
    m_listenFd = -1;
}

void CSingleInstance::OnAcceptReady()
{
    for (int i = 0; i < kAcceptsPerWakeUp; ++i) {
        const int fd = AcceptOne(m_listenFd);
        if (fd >= 0) {
            AddClient(fd);
            continue;
        }
        switch (errno) {
        case EINTR:
        case ECONNABORTED:
        case EPROTO:
            continue;
        case EAGAIN:
            return;
        case EMFILE:
        case ENFILE:
        case ENOBUFS:
        case ENOMEM:
            if (RefuseOneWithSpare())
                continue;
            // Nothing to be had now: look again shortly rather than spin.
            m_notifier->setEnabled(false);
            QTimer::singleShot(kOutOfFilesPauseMs, this, [this] {
                if (m_notifier)
                    m_notifier->setEnabled(true);
            });
            return;
        default:
            // The listening socket itself is broken: listen afresh on the same file.
            OpenListener();
            return;
        }
    }
}

bool CSingleInstance::RefuseOneWithSpare()
{
    if (m_spareFd < 0)
        return false;
    ::close(m_spareFd);
    m_spareFd = -1;
    const int fd = AcceptOne(m_listenFd);
    if (fd >= 0)
        ::close(fd);
    m_spareFd = OpenSpare();
    return fd >= 0 && m_spareFd >= 0;
}

void CSingleInstance::AddClient(int fd)
{
    if (m_clients.size() >= m_maxClients) {
        static constexpr char kBusy[] = "error busy\n";
        ::send(fd, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        ::close(fd);
        return;
    }
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(fd)) {
        delete socket;
        ::close(fd);
        return;
    }
    m_clients.insert(socket);
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, this, [this, socket] { DropClient(socket); });
    connect(socket, &QLocalSocket::readyRead, this,
            [this, socket, idle] { OnClientData(socket, idle); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] { DropClient(socket); });
    idle->start(m_idleTimeoutMs);
    if (socket->bytesAvailable() > 0)
        OnClientData(socket, idle);
}

void CSingleInstance::SetStatusProvider(std::function<QByteArray()> provider)
{
    m_statusProvider = std::move(provider);
    if (!m_statusProvider)
        return;
    const QHash<QLocalSocket*, QTimer*> waiting = std::exchange(m_waitingForStatus, {});
    for (auto it = waiting.begin(); it != waiting.end(); ++it) {
        if (!m_clients.contains(it.key()))
            continue;
        AnswerStatus(it.key());
        OnClientData(it.key(), it.value());
    }
}

void CSingleInstance::AnswerStatus(QLocalSocket* socket)
{
    QByteArray status = m_statusProvider();
    status.replace('\n', ' ');
    socket->write("ok " + status + '\n');
    socket->flush();
}

void CSingleInstance::OnClientData(QLocalSocket* socket, QTimer* idle)
{
    while (m_clients.contains(socket) && !m_waitingForStatus.contains(socket) &&
           socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequest).trimmed();
        idle->start(m_idleTimeoutMs);
        if (line == kStatusRequest) {
            if (m_statusProvider)
                AnswerStatus(socket);
            else
                m_waitingForStatus.insert(socket, idle);
            continue;
        }
        const bool known = CCommandTable::FromRequest(line) != 0;
        socket->write(known ? "ok\n" : "error unknown command\n");
        socket->flush();
        if (known)
            Q_EMIT RequestReceived(line);
    }
    if (m_clients.contains(socket) && socket->bytesAvailable() > kMaxRequest) {
        socket->write("error request too long\n");
        socket->flush();
        DropClient(socket);
    }
}

void CSingleInstance::DropClient(QLocalSocket* socket)
{
    m_waitingForStatus.remove(socket);
    if (!m_clients.remove(socket))
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool CSingleInstance::LockHeldElsewhere() const
{
    if (m_lockFd >= 0)
        return false;
    const int fd =
        ::open(CFileName::Encode(m_lockPath).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

CSingleInstance::SendResult CSingleInstance::Send(const QByteArray& request, int timeoutMs,
                                                  QByteArray* answer)
{
    const QDeadlineTimer deadline(timeoutMs);
    const auto left = [&deadline] {
        return static_cast<int>(qMax<qint64>(1, deadline.remainingTime()));
    };
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(m_socketPath);
        if (socket.waitForConnected(left())) {
            socket.write(request + '\n');
            socket.waitForBytesWritten(left());
            while (!socket.canReadLine() && !deadline.hasExpired()) {
                if (!socket.waitForReadyRead(left()))
                    break;
            }
            const QByteArray reply = socket.canReadLine() ? socket.readLine().trimmed() : "";
            if (reply == "ok" || reply.startsWith("ok ")) {
                if (answer)
                    *answer = reply.mid(3);
                return SendResult::Accepted;
            }
            if (reply.startsWith("error") && reply != "error busy")
                return SendResult::Refused;
            if (deadline.hasExpired() || reply.isEmpty())
                return SendResult::NoAnswer;
        } else if (!LockHeldElsewhere()) {
            return SendResult::NotRunning;
        } else if (deadline.hasExpired()) {
            return SendResult::NoAnswer;
        }
        // The running instance may hold the lock but not listen yet, or be busy: try again
        // shortly.
        QThread::msleep(10);
    }
}
