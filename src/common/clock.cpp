#include "common/clock.h"

#include <atomic>

namespace {
CClock g_systemClock;
std::atomic<CClock*> g_clock{&g_systemClock};
} // namespace

CClock::~CClock() = default;

QDateTime CClock::Now()
{
    return g_clock.load(std::memory_order_acquire)->CurrentDateTime();
}

qint64 CClock::NowMsecs()
{
    return Now().toMSecsSinceEpoch();
}

void CClock::Install(CClock* clock)
{
    g_clock.store(clock ? clock : &g_systemClock, std::memory_order_release);
}

QDateTime CClock::CurrentDateTime() const
{
    return QDateTime::currentDateTime();
}
