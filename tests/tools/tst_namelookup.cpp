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
                    "192.0.2.10 official.test alias.test\n");
        hosts.close();
        const std::optional<QStringList> lines = CToolHelper::Run(
            {u"--hosts"_s, hosts.fileName(), u"ip:multi.test"_s, u"ip:alias.test"_s,
             u"ip:nowhere.test"_s, u"ip:"_s, u"ip:10.9.8.7"_s, u"host:192.0.2.10"_s,
             u"host:10.1.2.4"_s, u"host:192.0.2.99"_s, u"host:official.test"_s, u"host:10.1.2"_s});
        QVERIFY(lines);
        QCOMPARE(*lines,
                 (QStringList{u"10.1.2.3"_s, u"192.0.2.10"_s, u"Can't resolve nowhere.test"_s,
                              u"Can't resolve "_s, u"10.9.8.7"_s, u"official.test"_s,
                              u"multi.test"_s, u"Can't resolve 192.0.2.99"_s,
                              u"Can't resolve official.test"_s, u"Can't resolve 10.1.2"_s}));
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
