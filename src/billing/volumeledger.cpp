#include "billing/volumeledger.h"

#include <QList>

#include <algorithm>

void CVolumeLedger::Add(int day, int month, int year, qint64 counted, bool passed)
{
    if (!m_last || day != m_lastDate[0] || month != m_lastDate[1] || year != m_lastDate[2]) {
        const QDate date(year, month, day);
        if (!date.isValid())
            return;
        m_last = &m_days[date.toJulianDay()];
        m_lastDate[0] = day;
        m_lastDate[1] = month;
        m_lastDate[2] = year;
    }
    m_last->counted += counted;
    m_last->passed = m_last->passed || passed;
}

qint64 CVolumeLedger::PassedOverageBytes() const
{
    QList<qint64> days = m_days.keys();
    std::sort(days.begin(), days.end());
    qint64 overage = 0;
    CBillingCycle cycle;
    qint64 usedBefore = 0; // in the cycle, before the day
    for (const qint64 julian : days) {
        const QDate date = QDate::fromJulianDay(julian);
        if (!cycle.Contains(date)) {
            cycle = m_plan.CycleOf(date);
            usedBefore = 0;
        }
        const Day& sums = m_days.value(julian);
        if (sums.passed)
            overage += m_plan.OverageBytes(usedBefore, sums.counted);
        usedBefore += sums.counted;
    }
    return overage;
}
