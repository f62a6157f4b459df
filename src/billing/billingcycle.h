#pragma once

#include <QDate>

// One billing cycle of a data plan: the days from its first day to its last, both
// included. Cycles start on the same day of every month; a start day past a month's end
// means that month's last day, so a cycle starting on the 31st runs from 28 or 29
// February to 30 March.
class CBillingCycle {
public:
    CBillingCycle() = default;
    CBillingCycle(QDate start, QDate end)
        : m_start(start)
        , m_end(end)
    {}

    // The cycle that holds date, for cycles that start on startDay (taken into 1..31). An
    // invalid cycle for an invalid date.
    static CBillingCycle Containing(QDate date, int startDay);
    // The first day of the cycle that starts in the given month.
    static QDate StartIn(int year, int month, int startDay);

    bool IsValid() const { return m_start.isValid() && m_end.isValid(); }
    QDate Start() const { return m_start; }
    QDate End() const { return m_end; }
    bool Contains(QDate date) const { return date >= m_start && date <= m_end; }

    int DaysTotal() const;
    // Days from the start to day, both included (1 on the first day).
    int DaysElapsed(QDate day) const;
    // Days from day to the end, both included (1 on the last day).
    int DaysLeft(QDate day) const;

    CBillingCycle Next(int startDay) const;

    friend bool operator==(const CBillingCycle&, const CBillingCycle&) = default;

private:
    QDate m_start;
    QDate m_end;
};
