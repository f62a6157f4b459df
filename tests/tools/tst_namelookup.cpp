#include "tools/namelookup.h"

#include "toolhelper.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestNameLookup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bothWaysThroughAHostsFile()
    {
        if (const QString why = CToolHelper::Unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QTemporaryDir dir;
        QFile hosts(dir.filePath(u"hosts"_s));
        QVERIFY(hosts.open(QIODevice::WriteOnly));
        hosts.write("127.0.0.1 localhost\n"
                    "10.1.2.3 multi.test\n"
                    "10.1.2.4 multi.test\n"
                    "192.0.2.10 official.test alias.test\n"
                    "::1 ip6-localhost\n");
        hosts.close();
        const std::optional<QStringList> lines = CToolHelper::Run(
            {u"--hosts"_s, hosts.fileName(), u"ip:multi.test"_s, u"ip:alias.test"_s,
             u"ip:nowhere.test"_s, u"ip:"_s, u"ip:10.9.8.7"_s, u"host:192.0.2.10"_s,
             u"host:10.1.2.4"_s, u"host:192.0.2.99"_s, u"host:official.test"_s, u"host:10.1.2"_s,
             u"host:127.1"_s, u"host:::1"_s});
        QVERIFY(lines);
        QCOMPARE(
            *lines,
            (QStringList{u"10.1.2.3"_s, u"192.0.2.10"_s, u"Can't resolve nowhere.test"_s,
                         u"Can't resolve "_s, u"10.9.8.7"_s, u"official.test"_s, u"multi.test"_s,
                         u"Can't resolve 192.0.2.99"_s, u"Can't resolve official.test"_s,
                         u"Can't resolve 10.1.2"_s, u"localhost"_s, u"ip6-localhost"_s}));
    }

    void classicAddressForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("dotted"); // empty: no address
        QTest::newRow("four parts") << u"192.0.2.7"_s << u"192.0.2.7"_s;
        QTest::newRow("two parts") << u"127.1"_s << u"127.0.0.1"_s;
        QTest::newRow("three parts") << u"10.1.2"_s << u"10.1.0.2"_s;
        QTest::newRow("hex part") << u"0x7f.1"_s << u"127.0.0.1"_s;
        QTest::newRow("octal number") << u"017700000001"_s << u"127.0.0.1"_s;
        QTest::newRow("one number") << u"2130706433"_s << u"127.0.0.1"_s;
        QTest::newRow("name") << u"foo"_s << QString();
        QTest::newRow("hex letters only") << u"beef"_s << QString();
        QTest::newRow("five parts") << u"1.2.3.4.5"_s << QString();
        QTest::newRow("part too big") << u"256.1.1.1"_s << QString();
        QTest::newRow("number too big") << u"4294967296"_s << QString();
        QTest::newRow("text after a space") << u"127.0.0.1 foo"_s << QString();
        QTest::newRow("IPv6") << u"::1"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void classicAddressForms()
    {
        QFETCH(QString, text);
        QFETCH(QString, dotted);
        const std::optional<quint32> address = CNameLookup::ParseIPv4(text);
        QCOMPARE(address ? CNameLookup::Dotted(*address) : QString(), dotted);
    }

    void shortFormHasTheNameOfTheFullAddress()
    {
        const QString name = CNameLookup::AddressToHost(u"127.0.0.1"_s);
        if (name.startsWith(u"Can't resolve"_s))
            QSKIP("127.0.0.1 has no name here");
        QCOMPARE(CNameLookup::AddressToHost(u"127.1"_s), name);
    }

    void withoutTheResolver()
    {
        // Nothing to look up: no resolver is asked.
        QCOMPARE(CNameLookup::HostToAddress(QString()), u"Can't resolve "_s);
        QCOMPARE(CNameLookup::HostToAddress(u"192.0.2.7"_s), u"192.0.2.7"_s);
        QCOMPARE(CNameLookup::AddressToHost(u"not an address"_s),
                 u"Can't resolve not an address"_s);
        QCOMPARE(CNameLookup::Dotted(*CNameLookup::FirstAddress(u"10.20.30.40"_s)),
                 u"10.20.30.40"_s);
    }
};

int main(int argc, char** argv)
{
    if (const std::optional<int> result = CToolHelper::RunChild(argc, argv))
        return *result;
    QCoreApplication app(argc, argv);
    TestNameLookup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_namelookup.moc"
