#include "common/settingsstore.h"

#include "support/privatebus.h"
#include "support/programrunner.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

// The real program over the connection simulator, on a private session bus, driven and
// followed by gdbus: a call seen from start to end, hang-up, refused connects, the name
// held by the first instance only and given back at exit; without a bus, a note.
class TestBusService : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"gdbus"_s).isEmpty())
            QSKIP("gdbus (libglib2.0-bin) is not installed");
    }
    void init()
    {
        m_run = std::make_unique<CProgramRunner>(QStringLiteral(ORVALIS_EXECUTABLE));
        QVERIFY(m_run->IsValid());
        CSettingsStore settings(m_run->ConfigFile(u"ov.ini"_s));
        settings.Write(Keys::ShowSplash, 0);
        settings.Write(Keys::ConfirmHangup, 1); // a hang-up from the bus asks nothing
        settings.Write(Keys::ConfirmExit, 0);
    }
    void cleanup()
    {
        m_run.reset();
        m_bus.Stop();
    }

    void aCallDrivenByGdbus();
    void noSessionBus();

private:
    struct Answer {
        bool ok = false;
        QString text; // what gdbus wrote, output and errors
    };
    static Answer Gdbus(const QStringList& arguments)
    {
        QProcess gdbus;
        gdbus.start(u"gdbus"_s, arguments);
        const bool ended = gdbus.waitForFinished(10000);
        return {ended && gdbus.exitStatus() == QProcess::NormalExit && gdbus.exitCode() == 0,
                QString::fromUtf8(gdbus.readAllStandardOutput() + gdbus.readAllStandardError())};
    }
    static Answer Call(const QString& method, const QStringList& arguments = {})
    {
        return Gdbus(QStringList{u"call"_s, u"-e"_s, u"-d"_s, u"org.orvalis.Orvalis"_s, u"-o"_s,
                                 u"/org/orvalis/Orvalis"_s, u"-m"_s,
                                 u"org.orvalis.Orvalis1."_s + method} +
                     arguments);
    }
    static Answer AskBus(const QString& method)
    {
        return Gdbus({u"call"_s, u"-e"_s, u"-d"_s, u"org.freedesktop.DBus"_s, u"-o"_s,
                      u"/org/freedesktop/DBus"_s, u"-m"_s, u"org.freedesktop.DBus."_s + method,
                      u"org.orvalis.Orvalis"_s});
    }

    CPrivateBus m_bus;
    std::unique_ptr<CProgramRunner> m_run;
};

void TestBusService::aCallDrivenByGdbus()
{
    const QByteArray address =
        m_bus.Start(CPrivateBus::OpenConfig("session"), m_run->FilePath(u"bus"_s));
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    QProcess* program = m_run->Start({u"--backend=sim"_s});
    QTRY_VERIFY_WITH_TIMEOUT(AskBus(u"NameHasOwner"_s).text.contains(u"true"_s), 15000);

    QProcess follow;
    follow.start(u"gdbus"_s, {u"monitor"_s, u"-e"_s, u"-d"_s, u"org.orvalis.Orvalis"_s});
    QString seen;
    const auto Seen = [&] {
        seen += QString::fromUtf8(follow.readAllStandardOutput());
        return seen;
    };
    QTRY_VERIFY_WITH_TIMEOUT(Seen().contains(u"is owned by"_s), 10000);

    // A call comes up: its start, then its properties, then the seconds going on.
    QVERIFY(m_run->Sim(u"connect Home ISP"_s));
    QTRY_VERIFY_WITH_TIMEOUT(
        Seen().contains(u"CallStarted ({'device': <'Simulated modem'>, 'entry': <'Home ISP'>"_s),
        10000);
    QTRY_VERIFY_WITH_TIMEOUT(Seen().contains(u"{'Connected': <true>, 'Entry': <'Home ISP'>}"_s),
                             10000);
    QTRY_VERIFY_WITH_TIMEOUT(Seen().contains(u"'Seconds': <uint64 1>"_s), 10000);
    const Answer status = Call(u"Status"_s);
    QVERIFY2(status.ok && status.text.contains(u"'connected': <true>"_s) &&
                 status.text.contains(u"'cost': <"_s),
             qPrintable(status.text));

    // Callers the program cannot serve get errors, and no dial starts.
    const Answer unknown = Call(u"Connect"_s, {u"Nope"_s});
    QVERIFY2(!unknown.ok && unknown.text.contains(u"org.orvalis.Orvalis1.Error.UnknownEntry"_s),
             qPrintable(unknown.text));
    const Answer twice = Call(u"Connect"_s, {u""_s});
    QVERIFY2(!twice.ok && twice.text.contains(u"org.orvalis.Orvalis1.Error.AlreadyConnected"_s),
             qPrintable(twice.text));

    // HangUp ends the call without a question; CallEnded carries the log's line.
    QVERIFY(Call(u"HangUp"_s).ok);
    QTRY_VERIFY_WITH_TIMEOUT(Seen().contains(u"CallEnded"_s), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(Seen().contains(u"'Connected': <false>"_s), 10000);
    const QStringList log = CProgramRunner::ReadLines(m_run->ConfigFile(u"logfile.log"_s));
    QCOMPARE(log.size(), 1);
    QVERIFY2(Seen().contains(u"'line': <'"_s + log.first() + u"'>"_s), qPrintable(seen));
    follow.kill();
    follow.waitForFinished();

    // A second start leaves the name with the first; the name goes with the program.
    QProcess* second = m_run->Start({u"--backend=sim"_s});
    QVERIFY(second->waitForFinished(15000));
    QVERIFY(AskBus(u"GetConnectionUnixProcessID"_s)
                .text.contains(u"uint32 %1,"_s.arg(program->processId())));
    QCOMPARE(::kill(static_cast<pid_t>(program->processId()), SIGTERM), 0);
    QVERIFY(program->waitForFinished(10000));
    QVERIFY(AskBus(u"NameHasOwner"_s).text.contains(u"false"_s));
}

void TestBusService::noSessionBus()
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_run->FilePath(u"no-bus"_s).toUtf8());
    QProcess* program = m_run->Start({u"--backend=sim"_s});
    QTRY_VERIFY_WITH_TIMEOUT(m_run->Listening(), 15000);
    QString errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += QString::fromUtf8(program->readAllStandardError()))
                                 .contains(u"no session bus: the D-Bus interface is off"_s),
                             10000);
    QCOMPARE(errors.count(u"D-Bus interface is off"_s), 1);
}

QTEST_GUILESS_MAIN(TestBusService)
#include "tst_busservice.moc"
