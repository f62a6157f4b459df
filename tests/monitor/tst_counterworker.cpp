#include "dialer/backends/simulator/simremoteaccess.h"
#include "dialer/backends/simulator/simulatorfile.h"
#include "monitor/counterworker.h"
#include "monitor/interfacecounters.h"
#include "support/testclock.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Lets the test decide when each query of the worker may finish.
class CGate {
public:
    // Called by the query: waits for a permit (or the gate being open).
    void Enter(const QString& interfaceName)
    {
        std::unique_lock lock(m_mutex);
        ++m_started;
        ++m_active;
        m_maxActive = std::max(m_maxActive, m_active);
        m_names << interfaceName;
        m_threads.push_back(std::this_thread::get_id());
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open || m_permits > 0; });
        if (!m_open)
            --m_permits;
    }
    void Leave()
    {
        const std::lock_guard lock(m_mutex);
        --m_active;
        ++m_finished;
    }
    void SourceDestroyed()
    {
        const std::lock_guard lock(m_mutex);
        m_destroyed = true;
    }

    void Release(int queries = 1)
    {
        const std::lock_guard lock(m_mutex);
        m_permits += queries;
        m_changed.notify_all();
    }
    void Open()
    {
        const std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

    int Started() const { return Get(m_started); }
    int Finished() const { return Get(m_finished); }
    int MaxActive() const { return Get(m_maxActive); }
    bool Destroyed() const { return Get(m_destroyed); }
    QStringList Names() const { return Get(m_names); }
    std::vector<std::thread::id> Threads() const { return Get(m_threads); }

private:
    template <typename T> T Get(const T& value) const
    {
        const std::lock_guard lock(m_mutex);
        return value;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::thread::id> m_threads;
    int m_started = 0;
    int m_finished = 0;
    int m_active = 0;
    int m_maxActive = 0;
    int m_permits = 0;
    bool m_open = false;
    bool m_destroyed = false;
    QStringList m_names;
};

// Kernel-style counters from a folder, each reading held at the gate first.
class CGatedCounters : public CInterfaceCounters {
public:
    CGatedCounters(std::shared_ptr<CGate> gate, const QString& root)
        : CInterfaceCounters(nullptr, root)
        , m_gate(std::move(gate))
    {}
    ~CGatedCounters() override { m_gate->SourceDestroyed(); }

    bool Update(const QString& interfaceName) override
    {
        m_gate->Enter(interfaceName);
        const bool ok = CInterfaceCounters::Update(interfaceName);
        m_gate->Leave();
        return ok;
    }

private:
    std::shared_ptr<CGate> m_gate;
};

} // namespace

class TestCounterWorker : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startFailsWithoutCounters();
    void queriesOnlyWhileEnabled();
    void countersFollowFinishedQueries();
    void triggersDuringQueryLeaveExactlyOneMore();
    void interfaceIsTakenWhenQueryStarts();
    void cancelEndsQueryWithoutPublishing();
    void destructorWaitsForRunningQuery();
    void stuckQueryDoesNotHoldUpDestruction();
    void simulatorCountersReadOnWorker();
    void kernelReadingsRunOnCaller();

private:
    bool SetCounters(const QString& name, quint64 rx, quint64 tx) const;
    std::unique_ptr<CCounterWorker> MakeThread();

    std::optional<QTemporaryDir> m_dir;
    QString m_root;
    std::shared_ptr<CGate> m_gate;
};

void TestCounterWorker::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->filePath(u"net"_s);
    QVERIFY(QDir().mkpath(m_root + u"/ppp0/statistics"_s));
    QVERIFY(QDir().mkpath(m_root + u"/isp0/statistics"_s));
    QFile index(m_root + u"/ppp0/ifindex"_s);
    QVERIFY(index.open(QIODevice::WriteOnly) && index.write("3\n") == 2);
    index.close();
    QFile other(m_root + u"/isp0/ifindex"_s);
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("2\n") == 2);
    other.close();
    QVERIFY(SetCounters(u"ppp0"_s, 1000, 1000));
    QVERIFY(SetCounters(u"isp0"_s, 50, 50));
    m_gate = std::make_shared<CGate>();
}

void TestCounterWorker::cleanup()
{
    // Whatever a failed test left behind must not stay blocked.
    m_gate->Open();
    m_gate.reset();
    m_dir.reset();
}

// Each file is replaced whole, so a worker reading at the same time sees the old or the
// new number, never an empty file.
bool TestCounterWorker::SetCounters(const QString& name, quint64 rx, quint64 tx) const
{
    QSaveFile in(m_root + u'/' + name + u"/statistics/rx_bytes"_s);
    QSaveFile out(m_root + u'/' + name + u"/statistics/tx_bytes"_s);
    return in.open(QIODevice::WriteOnly) && in.write(QByteArray::number(rx) + '\n') > 0 &&
           in.commit() && out.open(QIODevice::WriteOnly) &&
           out.write(QByteArray::number(tx) + '\n') > 0 && out.commit();
}

std::unique_ptr<CCounterWorker> TestCounterWorker::MakeThread()
{
    auto thread =
        std::make_unique<CCounterWorker>(std::make_unique<CGatedCounters>(m_gate, m_root));
    thread->SetInterface(u"ppp0"_s);
    // The gate holds every reading: all of them must run on the worker here.
    thread->SetKernelReadsOnCaller(false);
    return thread;
}

void TestCounterWorker::startFailsWithoutCounters()
{
    CCounterWorker thread(
        std::make_unique<CInterfaceCounters>(nullptr, m_dir->filePath(u"none"_s)));
    thread.SetQueryEnabled(true);
    QVERIFY(!thread.Start());
    QVERIFY(!thread.Started());
    // Without a worker a trigger does nothing and nothing is ever busy.
    thread.Trigger();
    QVERIFY(!thread.Busy());
    QCOMPARE(thread.SentBytes(), qint64(0));
    QCOMPARE(thread.ReceivedBytes(), qint64(0));
}

void TestCounterWorker::queriesOnlyWhileEnabled()
{
    auto thread = MakeThread();
    QVERIFY(!thread->QueryEnabled());
    QVERIFY(thread->Start());
    QVERIFY(thread->Start()); // a second start changes nothing
    QVERIFY(!thread->Busy());

    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Started(), 0);

    thread->SetQueryEnabled(true);
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);
    QVERIFY(thread->Busy());
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Finished(), 1);
}

void TestCounterWorker::countersFollowFinishedQueries()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());
    m_gate->Open();

    thread->Trigger(); // the reference
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(0));

    QVERIFY(SetCounters(u"ppp0"_s, 2500, 1300));
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(1500));
    QCOMPARE(thread->SentBytes(), qint64(300));

    // Reading while queries run (for the thread sanitizer): the values only grow here.
    quint64 rx = 2500;
    for (int round = 0; round < 200; ++round) {
        rx += 10;
        QVERIFY(SetCounters(u"ppp0"_s, rx, 1300));
        thread->Trigger();
        const qint64 seen = thread->ReceivedBytes();
        QVERIFY(seen >= 1500 && seen <= qint64(rx - 1000));
        QCOMPARE(thread->SentBytes(), qint64(300));
    }
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(rx - 1000));
    QCOMPARE(m_gate->MaxActive(), 1);

    // A failed reading leaves the counters where they are.
    QVERIFY(QDir(m_root + u"/ppp0"_s).removeRecursively());
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(rx - 1000));
}

void TestCounterWorker::triggersDuringQueryLeaveExactlyOneMore()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());

    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);
    for (int i = 0; i < 5; ++i)
        thread->Trigger();
    QVERIFY(thread->Busy());

    m_gate->Release();
    QTRY_COMPARE(m_gate->Started(), 2);
    // The first query is over, the second one runs: still busy.
    QCOMPARE(m_gate->Finished(), 1);
    QVERIFY(thread->Busy());
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Started(), 2);
    QCOMPARE(m_gate->Finished(), 2);
    QCOMPARE(m_gate->MaxActive(), 1);

    // And the next trigger is one query again.
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 3);
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Started(), 3);
}

void TestCounterWorker::interfaceIsTakenWhenQueryStarts()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);
    thread->SetInterface(u"isp0"_s);
    thread->Trigger();
    thread->SetInterface(QString());
    m_gate->Release(2);
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Names(), QStringList({u"ppp0"_s, QString()}));
}

void TestCounterWorker::cancelEndsQueryWithoutPublishing()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());

    QVERIFY(SetCounters(u"ppp0"_s, 1700, 1040));
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 2);
    thread->Cancel();
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(0));
    QCOMPARE(thread->SentBytes(), qint64(0));

    // A cancel only ends the query under way; the bytes show with the next one.
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 3);
    m_gate->Release();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(700));
    QCOMPARE(thread->SentBytes(), qint64(40));
}

void TestCounterWorker::destructorWaitsForRunningQuery()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);
    thread->Trigger(); // pending: may or may not run, but never half

    std::thread opener([gate = m_gate] { gate->Open(); });
    thread.reset();
    opener.join();
    // The worker was joined: every query it started has finished and the source is gone.
    QVERIFY(m_gate->Destroyed());
    QCOMPARE(m_gate->Finished(), m_gate->Started());

    // An idle worker stops at once.
    auto idle = MakeThread();
    QVERIFY(idle->Start());
    idle.reset();
}

void TestCounterWorker::stuckQueryDoesNotHoldUpDestruction()
{
    auto thread = MakeThread();
    thread->SetQueryEnabled(true);
    thread->SetStopTimeout(std::chrono::milliseconds(20));
    QVERIFY(thread->Start());
    thread->Trigger();
    QTRY_COMPARE(m_gate->Started(), 1);

    thread.reset();
    // The worker is left behind with what it uses, and ends by itself once the query does.
    QVERIFY(!m_gate->Destroyed());
    m_gate->Release();
    QTRY_VERIFY(m_gate->Destroyed());
    QCOMPARE(m_gate->Started(), 1);
}

void TestCounterWorker::simulatorCountersReadOnWorker()
{
    const QDateTime start(QDate(2024, 3, 1), QTime(10, 0, 0));
    CTestClock clock(start);
    const QString file = m_dir->filePath(u"simulator.ini"_s);
    CSimRemoteAccess sim(file);
    QVERIFY(CSimulatorFile(file).StartLine(u"Work"_s, start.toMSecsSinceEpoch(), 0));

    CCounterWorker thread(std::make_unique<CInterfaceCounters>(&sim, m_root));
    // Every query on the worker first, so the window polls the backend beside it.
    thread.SetKernelReadsOnCaller(false);
    thread.SetQueryEnabled(true);
    thread.SetInterface(u"ppp0"_s);
    QVERIFY(thread.Start());
    thread.Trigger();
    QTRY_VERIFY(!thread.Busy());

    // The clock moves only between queries; the window keeps polling the backend while
    // the worker reads its counters.
    clock.AdvanceSecs(3);
    thread.Trigger();
    QList<CActiveConnection> connections;
    do {
        QCOMPARE(sim.EnumConnections(connections), 0);
        QCOMPARE(connections.size(), 1);
    } while (thread.Busy());
    QCOMPARE(thread.ReceivedBytes(), qint64(12000)); // RateIn 4000 a second
    QCOMPARE(thread.SentBytes(), qint64(2400));      // RateOut 800 a second

    // The simulator's counters answer at once: read on the caller, no worker woken.
    thread.SetKernelReadsOnCaller(true);
    clock.AdvanceSecs(1);
    thread.Trigger();
    QVERIFY(!thread.Busy());
    QCOMPARE(thread.ReceivedBytes(), qint64(16000));
}

void TestCounterWorker::kernelReadingsRunOnCaller()
{
    auto thread = MakeThread();
    thread->SetKernelReadsOnCaller(true);
    thread->SetQueryEnabled(true);
    QVERIFY(thread->Start());
    m_gate->Open();
    const std::thread::id caller = std::this_thread::get_id();

    // The first reading of an interface runs on the worker; once it came from the kernel,
    // the next ones are done before Trigger() returns, on the caller's thread.
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QVERIFY(SetCounters(u"ppp0"_s, 1800, 1100));
    thread->Trigger();
    QVERIFY(!thread->Busy());
    QCOMPARE(thread->ReceivedBytes(), qint64(800));
    QCOMPARE(thread->SentBytes(), qint64(100));
    QCOMPARE(m_gate->Started(), 2);
    QVERIFY(m_gate->Threads().at(0) != caller);
    QCOMPARE(m_gate->Threads().at(1), caller);

    // Another interface starts on the worker again (its first reading only becomes the
    // reference), then stays on the caller.
    thread->SetInterface(u"isp0"_s);
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QVERIFY(SetCounters(u"isp0"_s, 80, 60));
    thread->Trigger();
    QCOMPARE(thread->ReceivedBytes(), qint64(830));
    QCOMPARE(thread->SentBytes(), qint64(110));
    QCOMPARE(m_gate->Started(), 4);
    QVERIFY(m_gate->Threads().at(2) != caller);
    QCOMPARE(m_gate->Threads().at(3), caller);

    // A failed reading hands the next query back to the worker.
    QVERIFY(QDir(m_root + u"/isp0"_s).removeRecursively());
    thread->Trigger();
    QCOMPARE(m_gate->Threads().at(4), caller);
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Started(), 6);
    QVERIFY(m_gate->Threads().at(5) != caller);
    QCOMPARE(thread->ReceivedBytes(), qint64(830));

    // Switched off, the worker does every query.
    thread->SetInterface(u"ppp0"_s);
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    thread->SetKernelReadsOnCaller(false);
    thread->Trigger();
    QTRY_VERIFY(!thread->Busy());
    QCOMPARE(m_gate->Started(), 8);
    QVERIFY(m_gate->Threads().at(7) != caller);
}

QTEST_GUILESS_MAIN(TestCounterWorker)
#include "tst_counterworker.moc"
