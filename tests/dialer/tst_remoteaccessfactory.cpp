#include "dialer/remoteaccessfactory.h"
#include "dialer/simremoteaccess.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestRemoteAccessFactory : public QObject {
    Q_OBJECT

private slots:
    void choosesBackend_data();
    void choosesBackend();
};

void TestRemoteAccessFactory::choosesBackend_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("created");
    QTest::addColumn<QString>("note");

    QTest::newRow("sim") << u"sim"_s << true << QString();
    QTest::newRow("letter case") << u" SIM "_s << true << QString();
    QTest::newRow("auto") << u"auto"_s << true << u"Using the connection simulator"_s;
    QTest::newRow("empty") << QString() << true << u"Using the connection simulator"_s;
    QTest::newRow("unknown") << u"carrier-pigeon"_s << false
                             << QStringLiteral("Unknown connection backend \"carrier-pigeon\"; "
                                               "choose one of: auto, sim");
}

void TestRemoteAccessFactory::choosesBackend()
{
    QFETCH(QString, name);
    QFETCH(bool, created);
    QFETCH(QString, note);

    QTemporaryDir dir;
    const QString file = dir.filePath(u"simulator.ini"_s);
    QString got = u"stale"_s;
    const std::unique_ptr<CRemoteAccess> backend = CRemoteAccessFactory::Create(name, file, &got);
    QCOMPARE(backend != nullptr, created);
    QCOMPARE(got, note);
    if (backend) {
        const auto* sim = dynamic_cast<const CSimRemoteAccess*>(backend.get());
        QVERIFY(sim);
        QCOMPARE(sim->File(), file);
    }
    // The note is optional.
    QCOMPARE(CRemoteAccessFactory::Create(name, file, nullptr) != nullptr, created);
}

QTEST_GUILESS_MAIN(TestRemoteAccessFactory)
#include "tst_remoteaccessfactory.moc"
