#pragma once

#include "monitor/trafficcounters.h"

#include <chrono>
#include <memory>
#include <thread>

class CInterfaceCounters;
class CRemoteAccess;

// The traffic counters, read on a worker thread so that the window never waits for them.
//
// The worker sleeps until Trigger() asks for a query. A query (only while the interface
// query is enabled) updates the interface's running totals and then publishes them in two
// 64-bit atomic counters that SentBytes() and ReceivedBytes() read without a lock.
// Triggers while a query runs leave exactly one more query to run after it. Cancel() makes
// the query under way end without publishing; its bytes show with the next query.
//
// Once a reading of the interface came from the kernel's counter files, or from a backend
// whose counters answer at once (the simulator), the following queries of that interface run
// at once on the calling thread (unless turned off), without waking the worker: such a
// reading takes microseconds and never blocks. Readings from other backends, and the first
// reading after the interface changed, stay on the worker.
//
// All methods are called on one thread (the user-interface thread); the counter source runs
// on the worker, or on that thread while the worker is idle.
class CCounterWorker : public CTrafficCounters {
public:
    // How long the destructor waits for a query under way before leaving the worker behind.
    static constexpr std::chrono::milliseconds kDefaultStopTimeout{3000};

    // Kernel counters of the interface, the backend (which must outlive this object) asked
    // first.
    explicit CCounterWorker(CRemoteAccess* backend);
    explicit CCounterWorker(std::unique_ptr<CInterfaceCounters> source);
    // Stops the worker and waits for it. A query that does not end within the stop timeout
    // is left to finish on its own: the worker keeps what it uses and frees it at its end.
    ~CCounterWorker() override;

    CCounterWorker(const CCounterWorker&) = delete;
    CCounterWorker& operator=(const CCounterWorker&) = delete;

    // Starts the worker. False when the counters cannot be read at all: no worker runs and
    // both counters stay 0. Starting again after a success does nothing and returns true.
    bool Start();
    bool Started() const;

    // A query reads the counters only while this is on; off at first.
    void SetQueryEnabled(bool enabled);
    bool QueryEnabled() const;

    // How long the destructor waits for a query under way (kDefaultStopTimeout).
    void SetStopTimeout(std::chrono::milliseconds timeout);

    // Whether queries of an interface whose counters answer at once run on the calling
    // thread (on at first). Off, every query runs on the worker.
    void SetKernelReadsOnCaller(bool onCaller);

    void SetInterface(const QString& interfaceName) override;
    // Does nothing when the worker does not run.
    void Trigger() override;
    qint64 SentBytes() const override;
    qint64 ReceivedBytes() const override;
    void Cancel() override;
    // True from a trigger until the last query it asked for has finished.
    bool Busy() const override;

private:
    struct Shared;

    static void Run(const std::shared_ptr<Shared>& shared);
    static void Query(Shared& shared, const QString& interfaceName);
    // Notes, under the lock, whether the reading just made answered at once.
    static void NoteSource(Shared& shared, const QString& interfaceName);

    // Kept alive by the worker as well, so a worker left behind never uses freed memory.
    std::shared_ptr<Shared> m_shared;
    std::thread m_worker;
    std::chrono::milliseconds m_stopTimeout = kDefaultStopTimeout;
    bool m_kernelOnCaller = true;
};
