#include "dialer/backends/networkmanager/networkmanageraccess.h"
#include "dialer/backends/remoteaccessfactory.h"
#include "dialer/backends/simulator/simremoteaccess.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRemoteAccessFactory : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void choosesBackend_data();
    void choosesBackend();
};

void TestRemoteAccessFactory::initTestCase()
{
    // A system bus without NetworkManager, whatever the machine runs. (The choice with
    // NetworkManager present is tested against a mock of it, in tst_networkmanageraccess.)
    QTemporaryDir dir;
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + dir.filePath(u"no-bus"_s).toLocal8Bit());
}

void TestRemoteAccessFactory::choosesBackend_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // "sim", "nm" or "" for none
    QTest::addColumn<QString>("note");

    const QString simulatorNote =
        u"NetworkManager is not running: using the connection simulator"_s;
    QTest::newRow("sim") << u"sim"_s << u"sim"_s << QString();
    QTest::newRow("letter case") << u" SIM "_s << u"sim"_s << QString();
    QTest::newRow("auto") << u"auto"_s << u"sim"_s << simulatorNote;
    QTest::newRow("empty") << QString() << u"sim"_s << simulatorNote;
    QTest::newRow("nm forced")
        << u"nm"_s << u"nm"_s << u"NetworkManager is not running: no connections until it starts"_s;
    QTest::newRow("networkmanager")
        << u"NetworkManager"_s << u"nm"_s
        << u"NetworkManager is not running: no connections until it starts"_s;
    QTest::newRow("unknown") << u"carrier-pigeon"_s << QString()
                             << QStringLiteral("Unknown connection backend \"carrier-pigeon\"; "
                                               "choose one of: auto, nm, sim");
}

void TestRemoteAccessFactory::choosesBackend()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, note);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"simulator.ini"_s);
    QString got = u"stale"_s;
    std::unique_ptr<CRemoteAccess> backend =
        CRemoteAccessFactory::Create(name, file, nullptr, &got);
    QCOMPARE(backend != nullptr, !kind.isEmpty());
    QCOMPARE(got, note);
    if (kind == u"sim") {
        const auto* sim = dynamic_cast<const CSimRemoteAccess*>(backend.get());
        QVERIFY(sim);
        QCOMPARE(sim->File(), file);
    } else if (kind == u"nm") {
        auto* nm = dynamic_cast<CNetworkManagerAccess*>(backend.get());
        QVERIFY(nm);
        // Without NetworkManager it lists nothing and says why a dial cannot start.
        QStringList entries{u"stale"_s};
        QCOMPARE(nm->EnumEntries(entries), 0);
        QVERIFY(entries.isEmpty());
        RasHandle handle = 1;
        const int code = nm->Dial(u"Home"_s, u"u"_s, u"p"_s, {}, handle);
        QString text;
        QVERIFY(nm->GetErrorString(code, text));
        QCOMPARE(text, u"NetworkManager is not running."_s);
    }
    backend.reset();
    // The note is optional.
    QCOMPARE(CRemoteAccessFactory::Create(name, file, nullptr, nullptr) != nullptr,
             !kind.isEmpty());
}

QTEST_GUILESS_MAIN(TestRemoteAccessFactory)
#include "tst_remoteaccessfactory.moc"
