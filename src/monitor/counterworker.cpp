#include "monitor/counterworker.h"

#include "monitor/interfacecounters.h"

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

// What the window and the worker share. The flags follow the worker's protocol: "go" asks
// for a query (taken by the worker when it wakes), "done" is cleared by every trigger and
// set when no query is left to run, "stop" ends the worker when it wakes, "exited" is set
// as it ends.
struct CCounterWorker::Shared {
    explicit Shared(std::unique_ptr<CInterfaceCounters> counters)
        : source(std::move(counters))
    {}

    // Used by the worker only, once it runs.
    const std::unique_ptr<CInterfaceCounters> source;

    std::mutex mutex;
    std::condition_variable wake;    // go or stop was set
    std::condition_variable changed; // done or exited was set
    bool go = false;
    bool done = true;
    bool stop = false;
    bool exited = false;
    QString interfaceName;
    // The interface whose last reading answered at once, if any: its next query runs
    // on the caller's thread.
    std::optional<QString> kernelInterface;

    std::atomic<bool> cancel{false};
    std::atomic<bool> enabled{false};
    std::atomic<qint64> sent{0};
    std::atomic<qint64> received{0};
};

CCounterWorker::CCounterWorker(CRemoteAccess* backend)
    : CCounterWorker(std::make_unique<CInterfaceCounters>(backend))
{}

CCounterWorker::CCounterWorker(std::unique_ptr<CInterfaceCounters> source)
    : m_shared(std::make_shared<Shared>(std::move(source)))
{}

CCounterWorker::~CCounterWorker()
{
    if (!m_worker.joinable())
        return;
    bool exited = false;
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->wake.notify_all();
        exited =
            m_shared->changed.wait_for(lock, m_stopTimeout, [this] { return m_shared->exited; });
    }
    if (exited)
        m_worker.join();
    else
        m_worker.detach();
}

bool CCounterWorker::Start()
{
    if (m_worker.joinable())
        return true;
    if (!m_shared->source || !m_shared->source->Available())
        return false;
    try {
        m_worker = std::thread(&CCounterWorker::Run, m_shared);
    } catch (const std::system_error&) {
        return false;
    }
    pthread_setname_np(m_worker.native_handle(), "byte-counters");
    return true;
}

bool CCounterWorker::Started() const
{
    return m_worker.joinable();
}

void CCounterWorker::SetQueryEnabled(bool enabled)
{
    m_shared->enabled.store(enabled);
}

bool CCounterWorker::QueryEnabled() const
{
    return m_shared->enabled.load();
}

void CCounterWorker::SetStopTimeout(std::chrono::milliseconds timeout)
{
    m_stopTimeout = timeout;
}

void CCounterWorker::SetKernelReadsOnCaller(bool onCaller)
{
    m_kernelOnCaller = onCaller;
}

void CCounterWorker::SetInterface(const QString& interfaceName)
{
    const std::lock_guard lock(m_shared->mutex);
    m_shared->interfaceName = interfaceName;
}

void CCounterWorker::Trigger()
{
    if (!m_worker.joinable())
        return;
    Shared& s = *m_shared;
    {
        const std::lock_guard lock(s.mutex);
        // Reading the kernel's counter files (or a backend's that answers at once) takes
        // microseconds and never blocks: the worker is not woken for it. The worker is idle
        // (nothing asked, nothing under way), so the source is this thread's until the next
        // trigger.
        if (m_kernelOnCaller && s.done && !s.go && s.kernelInterface == s.interfaceName) {
            Query(s, s.interfaceName);
            NoteSource(s, s.interfaceName);
            return;
        }
        s.go = true;
        s.done = false;
    }
    // Outside the lock, so the worker does not wake only to wait for it.
    s.wake.notify_one();
}

qint64 CCounterWorker::SentBytes() const
{
    return m_shared->sent.load(std::memory_order_relaxed);
}

qint64 CCounterWorker::ReceivedBytes() const
{
    return m_shared->received.load(std::memory_order_relaxed);
}

void CCounterWorker::Cancel()
{
    m_shared->cancel.store(true);
}

bool CCounterWorker::Busy() const
{
    const std::lock_guard lock(m_shared->mutex);
    return !m_shared->done;
}

void CCounterWorker::Run(const std::shared_ptr<Shared>& shared)
{
    Shared& s = *shared;
    for (;;) {
        QString interfaceName;
        {
            std::unique_lock lock(s.mutex);
            s.wake.wait(lock, [&s] { return s.go || s.stop; });
            if (s.stop)
                break;
            s.go = false;
            interfaceName = s.interfaceName;
        }
        Query(s, interfaceName);
        {
            const std::lock_guard lock(s.mutex);
            NoteSource(s, interfaceName);
            if (!s.go) {
                s.done = true;
                s.changed.notify_all();
            }
        }
    }
    const std::lock_guard lock(s.mutex);
    s.exited = true;
    s.changed.notify_all();
}

void CCounterWorker::Query(Shared& s, const QString& interfaceName)
{
    s.cancel.store(false);
    if (s.cancel.load() || !s.enabled.load())
        return;
    // A failed reading leaves the counters as they are.
    if (!s.source->Update(interfaceName))
        return;
    // Cancelled meanwhile: the counters keep their values; the totals already hold the
    // bytes of this reading, so the next query shows them.
    if (s.cancel.load())
        return;
    s.received.store(s.source->ReceivedBytes(), std::memory_order_relaxed);
    s.sent.store(s.source->SentBytes(), std::memory_order_relaxed);
}

void CCounterWorker::NoteSource(Shared& s, const QString& interfaceName)
{
    if (s.source->LastAtOnce())
        s.kernelInterface = interfaceName;
    else
        s.kernelInterface.reset();
}
