#include "app/signalwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kWatched[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe, for the handler; -1 while nobody watches.
volatile std::sig_atomic_t g_writeFd = -1;

void Handler(int signalNumber)
{
    const int savedErrno = errno;
    const char number = static_cast<char>(signalNumber);
    if (g_writeFd >= 0) [[maybe_unused]]
        const ssize_t written = ::write(g_writeFd, &number, 1);
    errno = savedErrno;
}

} // namespace

CSignalWatcher::CSignalWatcher(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, m_fds) != 0)
        return;
    g_writeFd = m_fds[0];
    struct sigaction action = {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kWatched)
        ::sigaction(number, &action, nullptr);
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CSignalWatcher::OnReadable);
}

CSignalWatcher::~CSignalWatcher()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : kWatched)
        ::sigaction(number, &action, nullptr);
    g_writeFd = -1;
    for (const int fd : m_fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

void CSignalWatcher::OnReadable()
{
    char numbers[16];
    const ssize_t count = ::read(m_fds[1], numbers, sizeof numbers);
    for (ssize_t i = 0; i < count; ++i)
        Q_EMIT Received(numbers[i]);
}
