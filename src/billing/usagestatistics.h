#pragma once

#include "billing/cycleusage.h"

#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>

struct CDataPlan;
class CTariff;

// Where the data and the money went over a range of billing cycles: the figures per day,
// per cycle and per hour of the day, gathered in one pass over the log.
//
// A day's cost is the time price of its calls and the price of its bytes past the
// allowance; the month's free time is taken off the cycle as a whole, as in the cycle's
// figures everywhere else. A range of a fixed number of cycles lists every day and every
// cycle in it, those without calls too; the whole log lists only the days and cycles
// that have calls, so a stray date years away does not make thousands of empty rows.
struct CUsageStatistics {
    // The ranges the statistics window offers, in the order of its chooser.
    enum class Range { ThisCycle = 0, LastCycle = 1, LastTwelveCycles = 2, All = 3 };

    struct Day {
        QDate date;
        int calls = 0;
        qint64 received = 0;
        qint64 sent = 0;
        qint64 counted = 0;    // what the plan counts against the allowance
        double timeCost = 0.0; // the time prices of the day's calls
        double cost = 0.0;     // the time prices and the bytes past the allowance

        friend bool operator==(const Day&, const Day&) = default;
    };

    // The bytes that went in one hour of the day. A call's bytes are shared out over the
    // hours it lasted, by the seconds it spent in each.
    struct Hour {
        int calls = 0; // calls that started in the hour
        qint64 received = 0;
        qint64 sent = 0;
    };

    Range range = Range::ThisCycle;
    QDate today;
    QDate first; // the range's first and last day; invalid for the whole of an empty log
    QDate last;
    qint64 allowance = 0; // the plan's, 0 without a plan
    int calls = 0;
    int undated = 0; // records whose date is no calendar date; they count nowhere
    QList<Day> days;
    QList<CCycleUsage> cycles; // each as on today, or on its last day when it is over
    std::array<Hour, 24> hours{};

    static CUsageStatistics Pass(const QString& logPath, const CDataPlan& plan,
                                 const CTariff& tariff, Range range, QDate today);

    bool IsEmpty() const { return calls == 0; }
    // The days with the most counted bytes, most first (the earlier of two equal ones
    // first), at most count of them; days without calls are never among them.
    QList<Day> TopDays(int count) const;
    // The cycle that holds today, when it is in the range; else nullptr.
    const CCycleUsage* CurrentCycle() const;
    // The range's name for the command line: "this", "last", "12", "all"; and back.
    static QString RangeName(Range range);
    static std::optional<Range> RangeOfName(QStringView name);
};
