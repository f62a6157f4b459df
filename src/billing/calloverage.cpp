#include "billing/calloverage.h"

#include "billing/bytecount.h"

#include <QDate>

#include <algorithm>
#include <map>

void CCallOverage::Add(int day, int month, int year, int startSecs, qint64 counted)
{
    Call call;
    if (m_plan.Active()) {
        const QDate date(year, month, day);
        if (date.isValid())
            call.julianDay = qint32(date.toJulianDay());
        call.startSecs = startSecs;
        call.counted = counted;
    }
    m_calls.push_back(call);
}

void CCallOverage::Add(const CLogRecord& record)
{
    Add(record.startDay, record.startMonth, record.startYear, record.startSecs,
        m_plan.CountedBytes(CByteCount::Parse(record.downloaded),
                            CByteCount::Parse(record.uploaded)));
}

void CCallOverage::Finish()
{
    const std::vector<Call> calls = std::move(m_calls);
    m_calls = {};
    if (!m_plan.Active())
        return;
    // Only cycles whose calls together pass the allowance hold any overage; their calls
    // alone are put in order.
    std::map<qint64, qint64> cycleTotals; // by the Julian day of the cycle's start
    QHash<qint32, qint64> cycleOfDay;
    const auto cycleStart = [&](qint32 julianDay) {
        const auto found = cycleOfDay.constFind(julianDay);
        if (found != cycleOfDay.constEnd())
            return *found;
        const qint64 start = m_plan.CycleOf(QDate::fromJulianDay(julianDay)).Start().toJulianDay();
        cycleOfDay.insert(julianDay, start);
        return start;
    };
    for (const Call& call : calls) {
        if (call.julianDay != 0)
            cycleTotals[cycleStart(call.julianDay)] += std::max<qint64>(0, call.counted);
    }
    std::vector<qsizetype> over;
    for (qsizetype i = 0; i < qsizetype(calls.size()); ++i) {
        const Call& call = calls[size_t(i)];
        if (call.julianDay != 0 && cycleTotals[cycleStart(call.julianDay)] > m_plan.allowance)
            over.push_back(i);
    }
    std::stable_sort(over.begin(), over.end(), [&](qsizetype a, qsizetype b) {
        const Call& x = calls[size_t(a)];
        const Call& y = calls[size_t(b)];
        return std::pair(x.julianDay, x.startSecs) < std::pair(y.julianDay, y.startSecs);
    });
    qint64 cycle = -1;
    qint64 usedBefore = 0;
    for (const qsizetype index : over) {
        const Call& call = calls[size_t(index)];
        const qint64 start = cycleStart(call.julianDay);
        if (start != cycle) {
            cycle = start;
            usedBefore = 0;
        }
        const qint64 counted = std::max<qint64>(0, call.counted);
        if (const qint64 overage = m_plan.OverageBytes(usedBefore, counted); overage > 0)
            m_overage.insert(index, overage);
        usedBefore += counted;
    }
}
