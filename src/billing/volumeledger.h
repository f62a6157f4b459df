#pragma once

#include "billing/dataplan.h"

#include <QHash>

// The bytes past a data plan's allowance over a set of calls, for totals: the calls'
// counted bytes are added up per day, and each cycle's days are then taken in order.
// Which call crossed the cap inside a day does not change what the day's calls cost
// together, so the sums need no order of the log and no memory per call.
//
// A call may belong to the figures being added up ("passed") or not; calls that did not
// pass still use up the allowance for the calls after them. Calls on a date that is no
// calendar date belong to no cycle and use up nothing.
class CVolumeLedger {
public:
    explicit CVolumeLedger(const CDataPlan& plan)
        : m_plan(plan)
    {}
    CVolumeLedger(const CVolumeLedger&) = delete;
    CVolumeLedger& operator=(const CVolumeLedger&) = delete;

    // Adds a call that started on day-month-year.
    void Add(int day, int month, int year, qint64 counted, bool passed);
    // The bytes past the allowance among the calls that passed.
    qint64 PassedOverageBytes() const;

private:
    struct Day {
        qint64 counted = 0;
        bool passed = false; // the filters are by date: a day's calls pass or fail together
    };

    CDataPlan m_plan;
    QHash<qint64, Day> m_days; // by Julian day
    // The log is in date order: the last day looked up is usually the next one's too.
    int m_lastDate[3] = {0, 0, 0};
    Day* m_last = nullptr;
};
