#include "mail/pop3client.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>
#include <future>

using namespace Qt::StringLiterals;

namespace {

// A POP3 server of the test on 127.0.0.1 that answers each command line as the test says
// and keeps everything it received. It runs on the test's thread; the client runs on a
// thread of its own.
class ScriptedServer : public QObject {
public:
    // The answer to one line; empty answers nothing.
    std::function<QByteArray(const QByteArray& line)> answer = [](const QByteArray& line) {
        return line.startsWith("STAT") ? "+OK 2 320\r\n"_ba : "+OK\r\n"_ba;
    };
    QByteArray greeting = "+OK ready\r\n";
    bool closeAfterGreeting = false;
    // Answers whose second part comes in a later segment: the split point.
    qsizetype splitAt = -1;
    QByteArray received;
    int connections = 0;

    ScriptedServer()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = m_server.nextPendingConnection();
            ++connections;
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            socket->write(greeting);
            if (closeAfterGreeting) {
                socket->disconnectFromHost();
                return;
            }
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
        });
    }
    quint16 Port() const { return m_server.serverPort(); }

private:
    void Answer(QTcpSocket* socket)
    {
        while (socket->canReadLine()) {
            const QByteArray line = socket->readLine();
            received += line;
            const QByteArray reply = answer(line);
            if (splitAt < 0 || reply.size() <= splitAt) {
                socket->write(reply);
                continue;
            }
            socket->write(reply.left(splitAt));
            socket->flush();
            // The rest follows in a segment of its own, once the first has gone out.
            QTimer::singleShot(50, socket,
                               [socket, rest = reply.mid(splitAt)] { socket->write(rest); });
        }
    }

    QTcpServer m_server;
};

struct Outcome {
    bool login = false;
    bool stat = false;
    int count = -1;
    qint32 size = -1;
    QString error;
    int reason = -1;
    qint64 elapsedMs = 0;
};

// Runs a whole session (login, STAT, end) on a thread of its own while the test's event
// loop serves the scripted server.
Outcome RunSession(quint16 port, const QString& user = u"anna"_s,
                   CPop3Client::Options options = CPop3Client::Options())
{
    auto future = std::async(std::launch::async, [port, user, options] {
        Outcome out;
        QElapsedTimer elapsed;
        elapsed.start();
        CPop3Client client(options);
        out.login = client.Login(u"127.0.0.1"_s, port, user, u"pw"_s);
        if (out.login)
            out.stat = client.Stat();
        out.count = client.GetMessageCount();
        out.size = client.TotalSize();
        out.error = client.LastError();
        out.reason = client.LastReason();
        out.elapsedMs = elapsed.elapsed();
        return out;
    });
    if (!QTest::qWaitFor(
            [&future] {
                return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
            },
            30000))
        qFatal("the POP3 session did not end");
    return future.get();
}

} // namespace

class TestPop3Client : public QObject {
    Q_OBJECT

private slots:
    void negativeReplies_data();
    void negativeReplies();
    void statAnswers_data();
    void statAnswers();
    void dialogueWithScriptedServer();
    void brokenServers();
    void lineBreakInCredentialsSendsNothing();
    void failureReasons_data();
    void failureReasons();
    void nobodyListening();
};

void TestPop3Client::negativeReplies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("negative");
    QTest::newRow("upper") << "-ERR no"_ba << true;
    QTest::newRow("lower") << "-err no"_ba << true;
    QTest::newRow("mixed") << "-ErR"_ba << true;
    QTest::newRow("positive") << "+OK 1 2"_ba << false;
    QTest::newRow("short") << "-ER"_ba << false;
    QTest::newRow("empty") << ""_ba << false;
}

void TestPop3Client::negativeReplies()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, negative);
    QCOMPARE(CPop3Client::IsNegative(reply), negative);
}

void TestPop3Client::statAnswers_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size");
    QTest::newRow("plain") << "+OK 3 1200\r\n"_ba << 3 << 1200;
    QTest::newRow("tabs") << "+OK\t5\t4096\r\n"_ba << 5 << 4096;
    // The size is read at the second blank, which here stands before the count.
    QTest::newRow("two blanks") << "+OK  3 100\r\n"_ba << 3 << 3;
    QTest::newRow("nothing") << "+OK\r\n"_ba << 0 << 0;
    QTest::newRow("zero") << "+OK 0 0\r\n"_ba << 0 << 0;
    QTest::newRow("no digits") << "+OK x y\r\n"_ba << 0 << 0;
    QTest::newRow("huge") << "+OK 99999999999 1\r\n"_ba << INT_MAX << 1;
}

void TestPop3Client::statAnswers()
{
    QFETCH(QByteArray, reply);
    int count = 0;
    qint32 size = 0;
    CPop3Client::ParseStat(reply, count, size);
    QTEST(count, "count");
    QTEST(int(size), "size");
}

void TestPop3Client::dialogueWithScriptedServer()
{
    ScriptedServer server;
    Outcome out = RunSession(server.Port());
    QVERIFY(out.login && out.stat);
    QCOMPARE(out.count, 2);
    QCOMPARE(out.size, 320);
    // The session ends with QUIT once the client goes.
    QTRY_COMPARE(server.received, "USER anna\r\nPASS pw\r\nSTAT\r\nQUIT\r\n"_ba);

    // A STAT answer with tabs.
    server.answer = [](const QByteArray& line) {
        return line.startsWith("STAT") ? "+OK\t5\t4096\r\n"_ba : "+OK\r\n"_ba;
    };
    out = RunSession(server.Port());
    QVERIFY(out.stat);
    QCOMPARE(out.count, 5);
    QCOMPARE(out.size, 4096);

    // A STAT answer split right after "+OK " still yields its numbers.
    server.answer = [](const QByteArray& line) {
        return line.startsWith("STAT") ? "+OK 3 1200\r\n"_ba : "+OK\r\n"_ba;
    };
    server.splitAt = 4;
    out = RunSession(server.Port());
    QVERIFY(out.stat);
    QCOMPARE(out.count, 3);
    QCOMPARE(out.size, 1200);
    server.splitAt = -1;

    // A refused password and a refused STAT, each with its own text.
    server.answer = [](const QByteArray& line) {
        return line.startsWith("PASS") ? "-ERR [AUTH] no\r\n"_ba : "+OK\r\n"_ba;
    };
    out = RunSession(server.Port());
    QVERIFY(!out.login);
    QCOMPARE(out.error, u"Bad Password Name"_s);
    server.answer = [](const QByteArray& line) {
        return line.startsWith("STAT") ? "-err locked\r\n"_ba : "+OK\r\n"_ba;
    };
    out = RunSession(server.Port());
    QVERIFY(out.login && !out.stat);
    QCOMPARE(out.error, u"Error occurred during STAT"_s);
}

void TestPop3Client::brokenServers()
{
    {
        // A greeting of "-err" refuses before anything is sent.
        ScriptedServer server;
        server.greeting = "-err too busy\r\n";
        const Outcome out = RunSession(server.Port());
        QVERIFY(!out.login);
        QCOMPARE(out.error, u"Bad Connection"_s);
        QCOMPARE(server.received, QByteArray());
    }
    {
        // A peer that closes after its greeting fails the login; no count is made up.
        ScriptedServer server;
        server.closeAfterGreeting = true;
        const Outcome out = RunSession(server.Port());
        QVERIFY(!out.login);
        QCOMPARE(out.count, 0);
        QCOMPARE(out.error, u"The server closed the connection"_s);
    }
    {
        // A server that never answers runs into the reply time-out.
        ScriptedServer server;
        server.greeting.clear();
        CPop3Client::Options options;
        options.replyTimeoutMs = 300;
        const Outcome out = RunSession(server.Port(), u"anna"_s, options);
        QVERIFY(!out.login);
        QCOMPARE(out.error, u"The server did not answer in time"_s);
        QCOMPARE(server.received, QByteArray());
    }
    {
        // A status line without end is cut off at its bound.
        ScriptedServer server;
        server.greeting = QByteArray(CPop3Client::kLineLimit + 10, '+');
        const Outcome out = RunSession(server.Port());
        QVERIFY(!out.login);
        QCOMPARE(out.error, u"The server's reply is too long"_s);
    }
    {
        // Nobody listening.
        quint16 port = 0;
        {
            ScriptedServer gone;
            port = gone.Port();
        }
        const Outcome out = RunSession(port);
        QVERIFY(!out.login);
        QCOMPARE(out.error, u"Server cannot be connected"_s);
    }
}

void TestPop3Client::lineBreakInCredentialsSendsNothing()
{
    ScriptedServer server;
    for (const QString& user : {u"anna\r\nDELE 1"_s, u"anna\nx"_s, u"anna\r"_s}) {
        const Outcome out = RunSession(server.Port(), user);
        QVERIFY(!out.login);
        QCOMPARE(out.error, u"The user name or password holds a line break"_s);
    }
    const Outcome tooLong = RunSession(server.Port(), QString(600, u'a'));
    QVERIFY(!tooLong.login);
    QCOMPARE(server.connections, 0);
    QCOMPARE(server.received, QByteArray());
}

void TestPop3Client::failureReasons_data()
{
    QTest::addColumn<QByteArray>("greeting");
    // The command the server refuses; empty: none.
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<int>("security");
    QTest::addColumn<int>("reason");
    const int none = int(CPop3Client::Security::None);
    const int startTls = int(CPop3Client::Security::StartTls);
    QTest::newRow("user refused") << "+OK\r\n"_ba
                                  << "USER"_ba << none << int(CMailFailure::LoginRefused);
    QTest::newRow("password refused") << "+OK\r\n"_ba
                                      << "PASS"_ba << none << int(CMailFailure::LoginRefused);
    QTest::newRow("STARTTLS refused")
        << "+OK\r\n"_ba
        << "STLS"_ba << startTls << int(CMailFailure::StartTlsRefused);
    QTest::newRow("greeting refused")
        << "-ERR busy\r\n"_ba << QByteArray() << none << int(CMailFailure::BadAnswer);
    // A server that waits for a TLS handshake says nothing: given up after the short
    // greeting time-out, not the reply time-out.
    QTest::newRow("silent, STARTTLS")
        << QByteArray() << QByteArray() << startTls << int(CMailFailure::NoGreeting);
    QTest::newRow("silent, clear text")
        << QByteArray() << QByteArray() << none << int(CMailFailure::NoGreeting);
}

void TestPop3Client::failureReasons()
{
    QFETCH(QByteArray, greeting);
    QFETCH(QByteArray, refused);
    QFETCH(int, security);
    QFETCH(int, reason);
    ScriptedServer server;
    server.greeting = greeting;
    server.answer = [refused](const QByteArray& line) {
        return !refused.isEmpty() && line.startsWith(refused) ? "-ERR no\r\n"_ba : "+OK\r\n"_ba;
    };
    CPop3Client::Options options;
    options.security = CPop3Client::Security(security);
    options.replyTimeoutMs = 20000;
    options.greetingTimeoutMs = 300;
    const Outcome out = RunSession(server.Port(), u"anna"_s, options);
    QVERIFY(!out.login);
    QCOMPARE(out.reason, reason);
    QVERIFY2(out.elapsedMs < 10000, qPrintable(QString::number(out.elapsedMs)));
}

void TestPop3Client::nobodyListening()
{
    quint16 port = 0;
    {
        ScriptedServer gone;
        port = gone.Port();
    }
    QCOMPARE(RunSession(port).reason, int(CMailFailure::Unreachable));
}

QTEST_GUILESS_MAIN(TestPop3Client)
#include "tst_pop3client.moc"
