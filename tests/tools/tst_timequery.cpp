#include "common/clock.h"
#include "tools/timequery.h"
#include "tools/timetext.h"
#include "tools/toolworker.h"

#include "support/testclock.h"
#include "support/testtimeserver.h"
#include "toolhelper.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// Queries on a worker, so the server of this thread can answer; waits for the answer.
QString Ask(const CTimeQuery& query, const QString& server = u"127.0.0.1"_s)
{
    QString answer;
    bool done = false;
    QObject receiver;
    CToolWorker::Start([query, server] { return query.Query(server); }, &receiver,
                       [&](const QString& text) {
                           answer = text;
                           done = true;
                       });
    if (!QTest::qWaitFor([&] { return done; }, 20000))
        return u"(no answer)"_s;
    return answer;
}

} // namespace

class TestTimeQuery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textForm()
    {
        QCOMPARE(CTimeText::Format(3913056000u), u"Mon Jan 01 00:00:00 2024\n"_s);
        QCOMPARE(CTimeText::Format(0xbc17c200u), u"Sat Jan 01 00:00:00 2000\n"_s);
        // The 32-bit count runs out on 7 February 2036; the next round goes on from there.
        QCOMPARE(CTimeText::Format(0xffffffffu), u"Thu Feb 07 06:28:15 2036\n"_s);
        QCOMPARE(CTimeText::Format(0u), u"Thu Feb 07 06:28:16 2036\n"_s);
        QCOMPARE(CTimeText::Format(1u), u"Thu Feb 07 06:28:17 2036\n"_s);
        const QDateTime moment(QDate(2031, 7, 9), QTime(23, 5, 7), QTimeZone::utc());
        QCOMPARE(CTimeText::ToDateTime(CTimeText::FromDateTime(moment)), moment);
    }

    void answersOfAServerTheTestControls()
    {
        const CTestClock clock(QDateTime(QDate(2024, 1, 1), QTime(0, 0), QTimeZone::utc()));
        CTestTimeServer server;
        server.answer = CTestTimeServer::Rfc868(CClock::Now());
        CTimeQuery query;
        query.SetPort(server.Port());
        query.SetReadTimeoutMs(300);
        QCOMPARE(Ask(query), u"Mon Jan 01 00:00:00 2024\n"_s);

        server.answer = "\x01\x02";
        QCOMPARE(Ask(query), CTimeQuery::NoTime());
        // Nothing at all, the connection kept open: the read time-out ends the wait.
        server.answer.clear();
        server.close = false;
        QCOMPARE(Ask(query), u"Unable to get time"_s);

        server.Stop();
        QCOMPARE(Ask(query), u"Cannot establish connection"_s);
    }

    void realTimeService()
    {
        const QString xinetd =
            QStandardPaths::findExecutable(u"xinetd"_s, {u"/usr/sbin"_s, u"/usr/bin"_s});
        if (xinetd.isEmpty())
            QSKIP("xinetd is missing (scripts/install-deps.sh installs it)");
        // A free port: taken from the system, then left to xinetd.
        quint16 port = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            port = probe.serverPort();
        }
        QTemporaryDir dir;
        QFile config(dir.filePath(u"xinetd.conf"_s));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("defaults\n{\n    instances = 20\n    log_type = FILE %1\n}\n"
                                    "service time\n{\n    type = INTERNAL UNLISTED\n"
                                    "    id = time-stream\n    socket_type = stream\n"
                                    "    protocol = tcp\n    wait = no\n    user = root\n"
                                    "    bind = 127.0.0.1\n    port = %2\n}\n")
                         .arg(dir.filePath(u"xinetd.log"_s))
                         .arg(port)
                         .toUtf8());
        config.close();
        QProcess daemon;
        daemon.start(xinetd, {u"-f"_s, config.fileName(), u"-dontfork"_s, u"-pidfile"_s,
                              dir.filePath(u"xinetd.pid"_s)});
        QVERIFY(daemon.waitForStarted());
        const struct Stop {
            QProcess& process;
            ~Stop()
            {
                process.terminate();
                process.waitForFinished();
            }
        } stop{daemon};

        CTimeQuery query;
        query.SetPort(port);
        QString answer;
        // Until xinetd listens, connections are refused.
        QTRY_VERIFY_WITH_TIMEOUT((answer = Ask(query)) != CTimeQuery::CannotConnect(), 10000);
        QVERIFY2(answer.endsWith(u'\n'), qPrintable(answer));
        const QDateTime told =
            QLocale::c().toDateTime(answer.trimmed(), u"ddd MMM dd HH:mm:ss yyyy"_s);
        QVERIFY2(told.isValid(), qPrintable(answer));
        const QDateTime server(told.date(), told.time(), QTimeZone::utc());
        QVERIFY2(qAbs(server.secsTo(CClock::Now())) <= 5,
                 qPrintable(answer + u" against "_s + CClock::Now().toString(Qt::ISODate)));
    }

    void unknownServer()
    {
        if (const QString why = CToolHelper::Unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir dir;
        QFile hosts(dir.filePath(u"hosts"_s));
        QVERIFY(hosts.open(QIODevice::WriteOnly));
        hosts.write("127.0.0.1 localhost\n");
        hosts.close();
        const std::optional<QStringList> lines =
            CToolHelper::Run({u"--hosts"_s, hosts.fileName(), u"time:nowhere.test"_s});
        QVERIFY(lines);
        QCOMPARE(*lines, QStringList{u"Cannot resolve"_s});
    }
};

int main(int argc, char** argv)
{
    if (const std::optional<int> result = CToolHelper::RunChild(argc, argv))
        return *result;
    QCoreApplication app(argc, argv);
    TestTimeQuery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_timequery.moc"
