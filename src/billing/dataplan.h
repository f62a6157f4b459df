#pragma once

#include "billing/billingcycle.h"
#include "billing/bytecount.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class CSettingsStore;

// A volume plan: an allowance of bytes per billing cycle, what counts against it, the price
// of the bytes past it, when to warn and what to do at the cap. Without an allowance there
// is no plan, and calls are priced by time alone; the cycle's start day still decides
// which calls are "this month".
struct CDataPlan {
    // What counts against the allowance.
    enum Counting { ReceivedAndSent = 0, ReceivedOnly = 1 };

    static constexpr qint64 kBytesPerGB = 1000000000;

    int cycleStartDay = 1;
    qint64 allowance = 0; // bytes; 0 is no plan
    Counting counting = ReceivedAndSent;
    double overagePerGB = 0.0;
    QList<int> warnAt = {80, 100}; // ascending, each once
    bool hangUpAtLimit = false;

    // Reads the "DataPlan" section. Never fails: a start day out of range is taken into
    // 1..31, an allowance that is no number or below 0 is no plan, a negative or unreadable
    // price is 0, and thresholds that are no percentage are left out.
    static CDataPlan Load(const CSettingsStore& store);

    bool Active() const { return allowance > 0; }
    qint64 CountedBytes(qint64 received, qint64 sent) const
    {
        return counting == ReceivedOnly ? received : CByteCount::Add(received, sent);
    }
    // The bytes of a call past the allowance, when countedBefore bytes of its cycle came
    // before it.
    qint64 OverageBytes(qint64 countedBefore, qint64 callCounted) const;
    // The price of bytes past the allowance.
    double OverageCost(qint64 overageBytes) const
    {
        return double(overageBytes) / double(kBytesPerGB) * overagePerGB;
    }
    CBillingCycle CycleOf(QDate date) const
    {
        return CBillingCycle::Containing(date, cycleStartDay);
    }
    // Whether the month views follow a cycle other than the calendar month.
    bool ShiftedCycle() const { return cycleStartDay != 1; }

    // An allowance in GB as typed ("30", "2.5", " 0.75 "): bytes, exact to the byte (nine
    // decimals at most). Empty text is 0. None for text that is no such number, a
    // negative one, or one too large.
    static std::optional<qint64> ParseAllowance(QStringView text);
    // Bytes as GB text, the form ParseAllowance reads: "2.5", "30", "0.000000001".
    static QString AllowanceText(qint64 bytes);
    // Warning percentages as typed ("80, 100"): each 1 to 1000, sorted, each once. None
    // when one of them is no such number. Empty text is no warning.
    static std::optional<QList<int>> ParseThresholds(QStringView text);
    static QString ThresholdsText(const QList<int>& percentages);
    // The start day as typed: 1 to 31, or none.
    static std::optional<int> ParseStartDay(QStringView text);

    friend bool operator==(const CDataPlan&, const CDataPlan&) = default;
};
