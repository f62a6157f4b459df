#include "app/singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
int ConnectRaw(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool IsSocketFile(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode);
}

int OpenFileCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                                .size());
}
} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_instance = std::make_unique<CSingleInstance>(m_dir->path());
        QVERIFY(m_instance->Claim());
        QVERIFY(m_instance->Listen());
    }

    void cleanup()
    {
        m_instance.reset();
        m_dir.reset();
    }

    void requestsAreCheckedAndAnswered()
    {
        QSignalSpy received(m_instance.get(), &CSingleInstance::RequestReceived);
        QLocalSocket client;
        client.connectToServer(m_instance->SocketPath());
        QVERIFY(client.waitForConnected(1000));
        client.write("bogus\n");
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("error unknown command\n"));
        client.write("command 99999\n");
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("error unknown command\n"));
        QCOMPARE(received.size(), 0);
        client.write("command 32812\n");
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok\n"));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toByteArray(), QByteArray("command 32812"));

        // A "line" that never ends is cut off.
        QLocalSocket endless;
        endless.connectToServer(m_instance->SocketPath());
        QVERIFY(endless.waitForConnected(1000));
        endless.write(QByteArray(10000, 'x'));
        QTRY_COMPARE(endless.state(), QLocalSocket::UnconnectedState);
        QVERIFY(endless.readAll().startsWith("error request too long"));
    }

    void statusWaitsForTheProvider()
    {
        // A caller that connects while the program starts is answered once the status is
        // there, and what it asked after the status is answered after it, in order.
        QSignalSpy received(m_instance.get(), &CSingleInstance::RequestReceived);
        QLocalSocket client;
        client.connectToServer(m_instance->SocketPath());
        QVERIFY(client.waitForConnected(1000));
        client.write("command 32812\nstatus\ncommand 32812\n");
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok\n"));
        QCOMPARE(received.size(), 1);
        QCOMPARE(client.bytesAvailable(), 0);

        m_instance->SetStatusProvider([] { return QByteArray("{\"state\":\n\"idle\"}"); });
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok {\"state\": \"idle\"}\n"));
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok\n"));
        QCOMPARE(received.size(), 2);
    }

    void callersMayConnectBeforeListening()
    {
        // Bound but not yet listening: the caller connects, and its request waits in the
        // queue until the instance listens.
        m_instance.reset();
        CSingleInstance early(m_dir->path());
        QVERIFY(early.Claim());
        QVERIFY(early.Bind());
        const int fd = ConnectRaw(QFile::encodeName(early.SocketPath()));
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, "status\n", 7), 7);
        early.SetStatusProvider([] { return QByteArray("up"); });
        QVERIFY(early.Listen());
        QLocalSocket client;
        QVERIFY(client.setSocketDescriptor(fd));
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok up\n"));
    }

    void idleClientIsDropped()
    {
        m_instance->SetIdleTimeout(50);
        QLocalSocket idle;
        idle.connectToServer(m_instance->SocketPath());
        QVERIFY(idle.waitForConnected(1000));
        QTRY_COMPARE(m_instance->ClientCount(), 1);
        idle.write("command 328"); // never finished
        QTRY_COMPARE(idle.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(m_instance->ClientCount(), 0);
    }

    void floodBeyondTheBound()
    {
        m_instance->SetMaxClients(4);
        const QByteArray path = QFile::encodeName(m_instance->SocketPath());
        QList<int> flood;
        for (int i = 0; i < 40; ++i) {
            const int fd = ConnectRaw(path);
            QVERIFY(fd >= 0);
            flood.append(fd);
        }
        QTRY_COMPARE(m_instance->ClientCount(), 4);
        // Those beyond the bound are closed at once.
        int closed = 0;
        for (int fd : flood) {
            char buffer[32];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n > 0 && QByteArray(buffer, int(n)).startsWith("error busy"))
                ++closed;
        }
        QCOMPARE(closed, 36);
        QVERIFY(SendFromThread() == CSingleInstance::SendResult::NoAnswer);
        for (int fd : flood)
            ::close(fd);
        QTRY_COMPARE(m_instance->ClientCount(), 0);
        QCOMPARE(SendFromThread(), CSingleInstance::SendResult::Accepted);
        QVERIFY(IsSocketFile(m_instance->SocketPath()));
    }

    void outOfFilesKeepsTheSocket()
    {
        m_instance->SetIdleTimeout(20);
        const QByteArray path = QFile::encodeName(m_instance->SocketPath());
        // Another process holds 300 idle connections until the instance closes each one.
        QProcess flood;
        flood.start(QStringLiteral("python3"),
                    {QStringLiteral("-c"),
                     QStringLiteral("import socket, sys\n"
                                    "held = []\n"
                                    "for _ in range(300):\n"
                                    "    s = socket.socket(socket.AF_UNIX)\n"
                                    "    s.connect(sys.argv[1])\n"
                                    "    held.append(s)\n"
                                    "for s in held:\n"
                                    "    while s.recv(64):\n"
                                    "        pass\n"),
                     QString::fromUtf8(path)});
        QVERIFY(flood.waitForStarted(10000));

        // Leave the instance a few descriptors only, fewer than its bound of clients.
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        rlimit low = saved;
        low.rlim_cur = static_cast<rlim_t>(OpenFileCount() + 8);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        QTRY_COMPARE_WITH_TIMEOUT(flood.state(), QProcess::NotRunning, 30000);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &saved), 0);
        QCOMPARE(flood.exitCode(), 0);

        QVERIFY(IsSocketFile(m_instance->SocketPath()));
        QVERIFY(m_instance->IsListening());
        QCOMPARE(SendFromThread(), CSingleInstance::SendResult::Accepted);
    }

    void sendWithoutInstance()
    {
        m_instance.reset();
        // Nobody holds the lock: no waiting for the time-out.
        CSingleInstance sender(m_dir->path());
        QElapsedTimer took;
        took.start();
        QCOMPARE(sender.Send(CSingleInstance::kShowRequest, 5000),
                 CSingleInstance::SendResult::NotRunning);
        QVERIFY(took.elapsed() < 4000);
    }

private:
    CSingleInstance::SendResult SendFromThread()
    {
        auto result = CSingleInstance::SendResult::NotRunning;
        const QString folder = m_dir->path();
        std::unique_ptr<QThread> thread(QThread::create([&result, folder] {
            result = CSingleInstance(folder).Send(CSingleInstance::kShowRequest, 1000);
        }));
        thread->start();
        (void)QTest::qWaitFor([&thread] { return thread->isFinished(); }, 10000);
        thread->wait();
        return result;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CSingleInstance> m_instance;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
