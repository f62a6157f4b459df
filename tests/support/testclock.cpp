#include "support/testclock.h"

CTestClock::CTestClock(const QDateTime& start)
    : m_now(start)
{
    CClock::Install(this);
}

CTestClock::~CTestClock()
{
    CClock::Install(nullptr);
}
