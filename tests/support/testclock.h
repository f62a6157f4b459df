#pragma once

#include "common/clock.h"

// A clock the test sets by hand. Installs itself for its lifetime.
class CTestClock : public CClock {
public:
    explicit CTestClock(const QDateTime& start);
    ~CTestClock() override;

    void Set(const QDateTime& now) { m_now = now; }
    void AdvanceSecs(qint64 secs) { m_now = m_now.addSecs(secs); }
    void AdvanceMsecs(qint64 msecs) { m_now = m_now.addMSecs(msecs); }

protected:
    QDateTime CurrentDateTime() const override { return m_now; }

private:
    QDateTime m_now;
};
