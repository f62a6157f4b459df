#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorfile.h"
#include "monitor/interfacecounters.h"
#include "support/testclock.h"

#include "support/netnslink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A folder laid out like /sys/class/net: IF/ifindex, IF/statistics/rx_bytes, tx_bytes.
class CFakeNet {
public:
    explicit CFakeNet(const QString& root)
        : m_root(root)
    {}

    bool Add(const QString& name, int index, quint64 rx = 0, quint64 tx = 0) const
    {
        return QDir(m_root).mkpath(name + u"/statistics"_s) &&
               Write(name + u"/ifindex"_s, QByteArray::number(index)) && Set(name, rx, tx);
    }
    bool Set(const QString& name, quint64 rx, quint64 tx) const
    {
        return Write(name + u"/statistics/rx_bytes"_s, QByteArray::number(rx)) &&
               Write(name + u"/statistics/tx_bytes"_s, QByteArray::number(tx));
    }
    bool Write(const QString& file, const QByteArray& text) const
    {
        QFile f(m_root + u'/' + file);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text + '\n') > 0;
    }
    bool Remove(const QString& name) const
    {
        return QDir(m_root + u'/' + name).removeRecursively();
    }

private:
    QString m_root;
};

// Runs inside the first namespace of the kernel test.
// Reads interface names from stdin, one a line (empty: highest index), and answers each
// with "ok|fail RECEIVED SENT HIGHEST" from one long-lived CInterfaceCounters.
int RunCounterReader()
{
    CInterfaceCounters counters;
    std::string line;
    while (std::getline(std::cin, line)) {
        const bool ok = counters.Update(QString::fromStdString(line));
        std::printf("%s %llu %llu %s\n", ok ? "ok" : "fail",
                    static_cast<unsigned long long>(counters.TotalReceived()),
                    static_cast<unsigned long long>(counters.TotalSent()),
                    qPrintable(counters.HighestIndexInterface()));
        std::fflush(stdout);
    }
    return 0;
}

struct ReaderAnswer {
    bool ok = false;
    quint64 received = 0;
    quint64 sent = 0;
    QString highest;
};

} // namespace

class TestInterfaceCounters : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsNamedInterfaceFromItsFirstReadingOn();
    void emptyNameTakesHighestIndex();
    void resetOrRecreatedInterfaceCountsFromZero();
    void switchingSourceAddsNothing();
    void totalsGoOnPast32Bits();
    void missingInterfaceKeepsTotals();
    void interfaceThatCameUpForTheCallCountsFromZero();
    void badNamesAndFilesGiveNoReading();
    void backendCountersComeFirst();

    void kernelInterfaceInNamespace();

private:
    bool Ask(const QString& interfaceName, ReaderAnswer& answer);

    std::optional<QTemporaryDir> m_dir;
    std::optional<CFakeNet> m_net;
    QString m_root;

    std::unique_ptr<CNetnsLink> m_link;
    std::unique_ptr<QProcess> m_reader;
};

void TestInterfaceCounters::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->filePath(u"net"_s);
    QVERIFY(QDir().mkpath(m_root));
    m_net.emplace(m_root);
}

void TestInterfaceCounters::cleanup()
{
    if (m_reader) {
        m_reader->closeWriteChannel();
        if (!m_reader->waitForFinished(5000))
            m_reader->kill();
        m_reader->waitForFinished(5000);
        m_reader.reset();
    }
    m_link.reset(); // removes the namespaces
    m_net.reset();
    m_dir.reset();
}

void TestInterfaceCounters::readsNamedInterfaceFromItsFirstReadingOn()
{
    QVERIFY(m_net->Add(u"eth0"_s, 2, 9'000'000'000ULL, 7'000'000'000ULL));
    QVERIFY(m_net->Add(u"ppp0"_s, 5, 1000, 500));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Available());

    // The first reading is the reference: a long-lived interface adds nothing.
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 0ULL);
    QCOMPARE(counters.TotalSent(), 0ULL);

    QVERIFY(m_net->Set(u"ppp0"_s, 2500, 800));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1500ULL);
    QCOMPARE(counters.TotalSent(), 300ULL);
    QCOMPARE(counters.ReceivedBytes(), qint64(1500));
    QCOMPARE(counters.SentBytes(), qint64(300));

    // No change, no bytes.
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1500ULL);

    CInterfaceCounters::Reading reading;
    QVERIFY(counters.Read(u"eth0"_s, reading));
    QCOMPARE(reading.received, 9'000'000'000ULL);
    QCOMPARE(reading.sent, 7'000'000'000ULL);
    QCOMPARE(reading.index, 2);
}

void TestInterfaceCounters::emptyNameTakesHighestIndex()
{
    // Folder order and index order differ on purpose.
    QVERIFY(m_net->Add(u"lo"_s, 1));
    QVERIFY(m_net->Add(u"eth0"_s, 2));
    QVERIFY(m_net->Add(u"ppp0"_s, 7, 100, 100));
    QVERIFY(m_net->Add(u"wlan0"_s, 3));
    CInterfaceCounters counters(nullptr, m_root);
    QCOMPARE(counters.HighestIndexInterface(), u"ppp0"_s);

    QVERIFY(counters.Update(QString()));
    QVERIFY(m_net->Set(u"wlan0"_s, 5000, 5000));
    QVERIFY(m_net->Set(u"ppp0"_s, 160, 130));
    QVERIFY(counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 30ULL);

    // Reading it by its name is the same source.
    QVERIFY(m_net->Set(u"ppp0"_s, 170, 130));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 70ULL);

    // A new interface with a higher index is another source: it only becomes the reference.
    QVERIFY(m_net->Add(u"ppp1"_s, 12, 4'000'000'000ULL, 10));
    QCOMPARE(counters.HighestIndexInterface(), u"ppp1"_s);
    QVERIFY(counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 70ULL);
    QCOMPARE(counters.TotalSent(), 30ULL);

    // An interface without a readable index is never chosen.
    QVERIFY(m_net->Add(u"zz9"_s, 99));
    QVERIFY(m_net->Write(u"zz9/ifindex"_s, "garbage"));
    QCOMPARE(counters.HighestIndexInterface(), u"ppp1"_s);

    QVERIFY(m_net->Remove(u"lo"_s) && m_net->Remove(u"eth0"_s) && m_net->Remove(u"ppp0"_s) &&
            m_net->Remove(u"wlan0"_s) && m_net->Remove(u"ppp1"_s) && m_net->Remove(u"zz9"_s));
    QCOMPARE(counters.HighestIndexInterface(), QString());
    QVERIFY(!counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 70ULL);
}

void TestInterfaceCounters::resetOrRecreatedInterfaceCountsFromZero()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 5'000'000'000ULL, 3'000'000'000ULL));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 5'000'001'000ULL, 3'000'000'100ULL));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1000ULL);
    QCOMPARE(counters.TotalSent(), 100ULL);

    // The counters went back: they restarted from 0, so what they show is new. Not a wrap
    // of billions of bytes.
    QVERIFY(m_net->Set(u"ppp0"_s, 300, 20));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1300ULL);
    QCOMPARE(counters.TotalSent(), 120ULL);

    // Recreated under the same name (new index) and already past the old values: also
    // counted from 0.
    QVERIFY(m_net->Remove(u"ppp0"_s));
    QVERIFY(m_net->Add(u"ppp0"_s, 9, 700, 50));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 2000ULL);
    QCOMPARE(counters.TotalSent(), 170ULL);
}

void TestInterfaceCounters::switchingSourceAddsNothing()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 100, 100));
    QVERIFY(m_net->Add(u"isp0"_s, 5, 8'000'000'000ULL, 6'000'000'000ULL));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 150, 110));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 50ULL);

    QVERIFY(counters.Update(u"isp0"_s));
    QCOMPARE(counters.TotalReceived(), 50ULL);
    QCOMPARE(counters.TotalSent(), 10ULL);
    QVERIFY(m_net->Set(u"isp0"_s, 8'000'000'010ULL, 6'000'000'001ULL));
    QVERIFY(counters.Update(u"isp0"_s));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 11ULL);

    // Back to the first one, whose counters moved meanwhile: again only a reference.
    QVERIFY(m_net->Set(u"ppp0"_s, 90'000, 90'000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 60ULL);
    QCOMPARE(counters.TotalSent(), 11ULL);
}

void TestInterfaceCounters::totalsGoOnPast32Bits()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 0, 0));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));

    // Past 2^31 and past 2^32 the kernel's 64-bit counters go on, and so do the counts.
    const quint64 half = 1ULL << 31;
    QVERIFY(m_net->Set(u"ppp0"_s, half + 1, half - 1));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.ReceivedBytes(), qint64(half + 1));
    QCOMPARE(counters.SentBytes(), qint64(half - 1));

    QVERIFY(m_net->Set(u"ppp0"_s, (1ULL << 32) + 50, 5'400'000'000ULL));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), (1ULL << 32) + 50);
    QCOMPARE(counters.ReceivedBytes(), (qint64(1) << 32) + 50);
    QCOMPARE(counters.SentBytes(), qint64(5'400'000'000));
}

void TestInterfaceCounters::missingInterfaceKeepsTotals()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 10, 10));
    CInterfaceCounters counters(nullptr, m_root);
    QVERIFY(counters.Update(u"ppp0"_s));
    QVERIFY(m_net->Set(u"ppp0"_s, 110, 60));
    QVERIFY(counters.Update(u"ppp0"_s));

    QVERIFY(m_net->Remove(u"ppp0"_s));
    QVERIFY(!counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 100ULL);
    QCOMPARE(counters.TotalSent(), 50ULL);

    // Back again, the same interface: the failed reading kept the reference, so what it
    // carried in between is counted.
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 5000, 5000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 4990ULL);
    QCOMPARE(counters.TotalSent(), 4990ULL);
    QVERIFY(m_net->Set(u"ppp0"_s, 5001, 5002));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 4991ULL);
    QCOMPARE(counters.TotalSent(), 4992ULL);

    // Half a reading (statistics gone) is no reading either.
    QVERIFY(QFile::remove(m_root + u"/ppp0/statistics/tx_bytes"_s));
    QVERIFY(!counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 4991ULL);
}

void TestInterfaceCounters::interfaceThatCameUpForTheCallCountsFromZero()
{
    QVERIFY(m_net->Add(u"eth0"_s, 2, 9'000'000'000ULL, 7'000'000'000ULL));
    CInterfaceCounters counters(nullptr, m_root);
    // A look at all interfaces while no call is up.
    QVERIFY(counters.Update(QString()));
    QCOMPARE(counters.TotalReceived(), 0ULL);

    // The call's interface came up after that look and carried traffic before the first
    // reading of it: all of it belongs to the call.
    QVERIFY(m_net->Add(u"ppp0"_s, 7, 1200, 300));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1200ULL);
    QCOMPARE(counters.TotalSent(), 300ULL);

    // An interface that was there at the look (a metered LAN) only becomes the reference.
    QVERIFY(counters.Update(u"eth0"_s));
    QCOMPARE(counters.TotalReceived(), 1200ULL);

    // Back to the call's interface, known now: it only becomes the reference again.
    QVERIFY(m_net->Set(u"ppp0"_s, 1300, 350));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1200ULL);

    // Recreated for a second call under the same name (new index): from zero again.
    QVERIFY(counters.Update(QString()));
    QVERIFY(m_net->Remove(u"ppp0"_s));
    QVERIFY(m_net->Add(u"ppp0"_s, 8, 500, 40));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 1700ULL);
    QCOMPARE(counters.TotalSent(), 340ULL);
}

void TestInterfaceCounters::badNamesAndFilesGiveNoReading()
{
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 10, 10));
    // A counter file beside the root that a crafted name could reach.
    QVERIFY(QDir(m_dir->path()).mkpath(u"statistics"_s));
    QVERIFY(CFakeNet(m_dir->path()).Write(u"ifindex"_s, "1"));
    QVERIFY(CFakeNet(m_dir->path()).Set(QString(), 1, 1));

    CInterfaceCounters counters(nullptr, m_root);
    CInterfaceCounters::Reading reading;
    QVERIFY(!counters.Read(u".."_s, reading));
    QVERIFY(!counters.Read(u"."_s, reading));
    QVERIFY(!counters.Read(u"ppp0/../.."_s, reading));
    QVERIFY(!counters.Read(u"ppp0\0"_s, reading));

    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "-5"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "12abc"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "99999999999999999999999"));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, QByteArray(100000, '7')));
    QVERIFY(!counters.Read(u"ppp0"_s, reading));
    QVERIFY(m_net->Write(u"ppp0/statistics/rx_bytes"_s, "18446744073709551615"));
    QVERIFY(counters.Read(u"ppp0"_s, reading));
    QCOMPARE(reading.received, std::numeric_limits<quint64>::max());

    QVERIFY(!CInterfaceCounters(nullptr, m_dir->filePath(u"none"_s)).Available());
}

void TestInterfaceCounters::backendCountersComeFirst()
{
    const QDateTime start(QDate(2024, 3, 1), QTime(10, 0, 0));
    CTestClock clock(start);
    const QString file = m_dir->filePath(u"simulator.ini"_s);
    CSimRemoteAccess sim(file);
    CSimulatorFile simFile(file);
    QVERIFY(simFile.StartLine(u"Work"_s, start.toMSecsSinceEpoch(), 0));
    QVERIFY(m_net->Add(u"ppp0"_s, 4, 7'000'000, 7'000'000));

    CInterfaceCounters counters(&sim, m_root);
    clock.AdvanceSecs(10);
    QVERIFY(counters.Update(u"ppp0"_s)); // the simulator's 40000 / 8000, as reference
    clock.AdvanceSecs(5);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20000ULL); // RateIn 4000 a second
    QCOMPARE(counters.TotalSent(), 4000ULL);      // RateOut 800 a second

    // The line drops: the kernel's interface of that name is another source.
    QVERIFY(simFile.ClearLine());
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20000ULL);
    QVERIFY(m_net->Set(u"ppp0"_s, 7'000'010, 7'000'000));
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20010ULL);

    // A new line: the simulator again, from its new start, adds nothing at first.
    QVERIFY(simFile.StartLine(u"Work"_s, clock.Now().toMSecsSinceEpoch(), 0));
    clock.AdvanceSecs(1);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 20010ULL);
    clock.AdvanceSecs(1);
    QVERIFY(counters.Update(u"ppp0"_s));
    QCOMPARE(counters.TotalReceived(), 24010ULL);
    QCOMPARE(counters.TotalSent(), 4800ULL);
}

// A veth pair named like a dial-up link between two network namespaces carries exactly
// the traffic the test sends, so the kernel's counters can be checked to the byte.
void TestInterfaceCounters::kernelInterfaceInNamespace()
{
    m_link = std::make_unique<CNetnsLink>();
    const QString unavailable = m_link->Unavailable();
    if (!unavailable.isEmpty())
        QSKIP(qPrintable(unavailable));
    const std::optional<bool> made = m_link->MakeNamespaces(u"orvcnt"_s);
    if (!made)
        QSKIP("Cannot make network namespaces here");
    QVERIFY(*made);
    QVERIFY(m_link->MakeLink());

    m_reader = std::make_unique<QProcess>();
    QVERIFY(m_link->StartInside(*m_reader, {u"--counter-reader"_s}));

    ReaderAnswer answer;
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 0ULL);
    QCOMPARE(answer.highest, u"ppp0"_s);

    // 10 echo requests and answers of 1000 + 8 (ICMP) + 20 (IP) + 14 (Ethernet) bytes.
    QVERIFY(m_link->Echo(10));
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 10420ULL);
    QCOMPARE(answer.sent, 10420ULL);
    // By the highest index: the same interface, nothing more.
    QVERIFY(Ask(QString(), answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 10420ULL);

    // The link is made again (a new call): its counters start from 0 and all of its
    // bytes count.
    QVERIFY(m_link->DeleteLink());
    QVERIFY(m_link->MakeLink());
    QVERIFY(m_link->Echo(5));
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(answer.ok);
    QCOMPARE(answer.received, 15630ULL);
    QCOMPARE(answer.sent, 15630ULL);

    // Gone: the totals stay.
    QVERIFY(m_link->DeleteLink());
    QVERIFY(Ask(u"ppp0"_s, answer));
    QVERIFY(!answer.ok);
    QCOMPARE(answer.received, 15630ULL);
    QCOMPARE(answer.sent, 15630ULL);
}

bool TestInterfaceCounters::Ask(const QString& interfaceName, ReaderAnswer& answer)
{
    const std::optional<QByteArray> line = CNetnsLink::Converse(*m_reader, interfaceName.toUtf8());
    if (!line)
        return false;
    const QList<QByteArray> fields = line->split(' ');
    if (fields.size() < 3)
        return false;
    answer.ok = fields[0] == "ok";
    answer.received = fields[1].toULongLong();
    answer.sent = fields[2].toULongLong();
    answer.highest = fields.size() > 3 ? QString::fromUtf8(fields[3]) : QString();
    return true;
}

// The test runs itself inside a namespace for the reader, the echo sender and the IPv6
// switch.
int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--counter-reader") == 0)
        return RunCounterReader();
    if (const std::optional<int> result = CNetnsLink::RunHelperMode(argc, argv))
        return *result;
    QCoreApplication app(argc, argv);
    TestInterfaceCounters test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interfacecounters.moc"
