#pragma once

#include "billing/dataplan.h"
#include "billing/logrecord.h"

#include <QHash>

#include <vector>

// The bytes past a data plan's allowance, call by call, for the rows of a report. The
// calls of a cycle are taken in the order of their start (calls that start in the same
// second in the order they were added); before each call, what is left of the allowance
// is the allowance less the bytes counted so far, and the call's bytes beyond that are its
// overage. Add every call in log order, then Finish once.
class CCallOverage {
public:
    explicit CCallOverage(const CDataPlan& plan)
        : m_plan(plan)
    {}

    // Adds the next call: its start date, start time of day and counted bytes.
    void Add(int day, int month, int year, int startSecs, qint64 counted);
    // The same for a record of the log, its bytes counted as the plan counts them.
    void Add(const CLogRecord& record);
    // Works out every call's overage and lets go of the calls; Add may not be called
    // after it.
    void Finish();
    // The overage of the call added as number index (0 is the first), after Finish.
    qint64 OverageBytes(qsizetype index) const { return m_overage.value(index, 0); }
    const CDataPlan& Plan() const { return m_plan; }

private:
    struct Call {
        qint32 julianDay = 0; // 0: no calendar date, no cycle
        qint32 startSecs = 0;
        qint64 counted = 0;
    };

    CDataPlan m_plan;
    std::vector<Call> m_calls;
    QHash<qsizetype, qint64> m_overage; // only the calls that have some
};
