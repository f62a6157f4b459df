#include "billing/usagestatistics.h"

#include "billing/bytecount.h"
#include "billing/dataplan.h"
#include "billing/logreader.h"
#include "billing/tariff.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr int kSecsPerDay = 86400;
constexpr int kSecsPerHour = 3600;

// The sums of one day while the log is read.
struct DaySums {
    unsigned weekday = 0;
    int calls = 0;
    qint64 received = 0;
    qint64 sent = 0;
    double timeCost = 0.0;
};

// The share of bytes that falls in the first part of whole seconds, rounded down; the
// differences of these shares add up to bytes exactly.
qint64 ShareUpTo(qint64 bytes, qint64 part, qint64 whole)
{
    if (part >= whole)
        return bytes;
    return qint64(std::floor(static_cast<long double>(bytes) * part / whole));
}

// Shares a call's bytes out over the hours of the day it lasted.
void ShareOut(std::array<CUsageStatistics::Hour, 24>& hours, int startSecs, int duration,
              qint64 received, qint64 sent)
{
    // Times from a garbled record may lie outside the day.
    int at = ((startSecs % kSecsPerDay) + kSecsPerDay) % kSecsPerDay;
    const qint64 whole = std::clamp(duration, 1, kSecsPerDay);
    ++hours[at / kSecsPerHour].calls;
    qint64 done = 0;
    while (done < whole) {
        const int hour = at / kSecsPerHour;
        const qint64 step = std::min<qint64>(whole - done, kSecsPerHour - at % kSecsPerHour);
        hours[hour].received +=
            ShareUpTo(received, done + step, whole) - ShareUpTo(received, done, whole);
        hours[hour].sent += ShareUpTo(sent, done + step, whole) - ShareUpTo(sent, done, whole);
        done += step;
        at = int((at + step) % kSecsPerDay);
    }
}

} // namespace

CUsageStatistics CUsageStatistics::Pass(const QString& logPath, const CDataPlan& plan,
                                        const CTariff& tariff, Range range, QDate today)
{
    CUsageStatistics stats;
    stats.range = range;
    stats.today = today;
    stats.allowance = plan.allowance;
    const CBillingCycle current = plan.CycleOf(today);
    switch (range) {
    case Range::ThisCycle:
        stats.first = current.Start();
        stats.last = current.End();
        break;
    case Range::LastCycle: {
        const CBillingCycle previous = plan.CycleOf(current.Start().addDays(-1));
        stats.first = previous.Start();
        stats.last = previous.End();
        break;
    }
    case Range::LastTwelveCycles: {
        CBillingCycle earliest = current;
        for (int i = 0; i < 11 && earliest.IsValid(); ++i)
            earliest = plan.CycleOf(earliest.Start().addDays(-1));
        stats.first = earliest.Start();
        stats.last = current.End();
        break;
    }
    case Range::All:
        break;
    }
    const bool bounded = range != Range::All;
    if (bounded && (!stats.first.isValid() || !stats.last.isValid()))
        return stats;
    const qint64 firstDay = bounded ? stats.first.toJulianDay() : 0;
    const qint64 lastDay = bounded ? stats.last.toJulianDay() : 0;

    std::map<qint64, DaySums> sums; // by Julian day
    CLogReader reader;
    if (reader.Open(logPath)) {
        // The log is in date order: the day looked up last is usually the next one's too.
        int lastDate[3] = {0, 0, 0};
        DaySums* day = nullptr;
        CLogRecord record;
        while (reader.Next(record)) {
            if (!day || record.startDay != lastDate[0] || record.startMonth != lastDate[1] ||
                record.startYear != lastDate[2]) {
                const QDate date(record.startYear, record.startMonth, record.startDay);
                if (!date.isValid()) {
                    ++stats.undated;
                    day = nullptr;
                    continue;
                }
                const qint64 julian = date.toJulianDay();
                if (bounded && (julian < firstDay || julian > lastDay)) {
                    day = nullptr;
                    continue;
                }
                const auto [it, added] = sums.try_emplace(julian);
                day = &it->second;
                if (added)
                    day->weekday =
                        CTariff::Weekday(record.startDay, record.startMonth, record.startYear);
                lastDate[0] = record.startDay;
                lastDate[1] = record.startMonth;
                lastDate[2] = record.startYear;
            }
            const qint64 received = CByteCount::Parse(record.downloaded);
            const qint64 sent = CByteCount::Parse(record.uploaded);
            const int duration = CTariff::RawDuration(record.startSecs, record.endSecs);
            ++day->calls;
            day->received = CByteCount::Add(day->received, received);
            day->sent = CByteCount::Add(day->sent, sent);
            day->timeCost += tariff.PriceCallOn(day->weekday, record.startSecs, duration).price;
            ShareOut(stats.hours, record.startSecs, duration, received, sent);
            ++stats.calls;
        }
    }

    // The days and the cycles of the range, in order.
    if (bounded) {
        for (qint64 julian = firstDay; julian <= lastDay; ++julian)
            stats.days.append(Day{QDate::fromJulianDay(julian)});
    }
    for (const auto& [julian, daySums] : sums) {
        Day day;
        day.date = QDate::fromJulianDay(julian);
        day.calls = daySums.calls;
        day.received = daySums.received;
        day.sent = daySums.sent;
        day.counted = plan.CountedBytes(day.received, day.sent);
        day.timeCost = daySums.timeCost;
        if (bounded)
            stats.days[julian - firstDay] = day;
        else
            stats.days.append(day);
    }
    if (!bounded && !stats.days.isEmpty()) {
        stats.first = stats.days.constFirst().date;
        stats.last = stats.days.constLast().date;
    }

    // Each cycle's days in order: the bytes past the allowance and the cycle's figures.
    CCycleUsage* cycle = nullptr;
    qint64 usedBefore = 0;
    const auto startCycle = [&](const CBillingCycle& next) {
        CCycleUsage usage;
        usage.cycle = next;
        usage.freeTimeValue = tariff.FreeAllowanceValue();
        stats.cycles.append(usage);
        cycle = &stats.cycles.last();
        usedBefore = 0;
    };
    for (Day& day : stats.days) {
        if (!cycle || !cycle->cycle.Contains(day.date)) {
            if (!bounded && day.calls == 0)
                continue;
            startCycle(plan.CycleOf(day.date));
        }
        day.cost = day.timeCost + plan.OverageCost(plan.OverageBytes(usedBefore, day.counted));
        usedBefore += day.counted;
        cycle->calls += day.calls;
        cycle->received = CByteCount::Add(cycle->received, day.received);
        cycle->sent = CByteCount::Add(cycle->sent, day.sent);
        cycle->timeCost += day.timeCost;
    }
    for (CCycleUsage& usage : stats.cycles) {
        usage.day = std::clamp(today, usage.cycle.Start(), usage.cycle.End());
        usage.Derive(plan);
    }
    return stats;
}

QList<CUsageStatistics::Day> CUsageStatistics::TopDays(int count) const
{
    QList<Day> top;
    for (const Day& day : days) {
        if (day.calls > 0)
            top.append(day);
    }
    std::stable_sort(top.begin(), top.end(),
                     [](const Day& a, const Day& b) { return a.counted > b.counted; });
    if (top.size() > count)
        top.resize(std::max(0, count));
    return top;
}

const CCycleUsage* CUsageStatistics::CurrentCycle() const
{
    for (const CCycleUsage& usage : cycles) {
        if (usage.cycle.Contains(today))
            return &usage;
    }
    return nullptr;
}

QString CUsageStatistics::RangeName(Range range)
{
    switch (range) {
    case Range::ThisCycle:
        return QStringLiteral("this");
    case Range::LastCycle:
        return QStringLiteral("last");
    case Range::LastTwelveCycles:
        return QStringLiteral("12");
    case Range::All:
        break;
    }
    return QStringLiteral("all");
}

std::optional<CUsageStatistics::Range> CUsageStatistics::RangeOfName(QStringView name)
{
    for (const Range range :
         {Range::ThisCycle, Range::LastCycle, Range::LastTwelveCycles, Range::All}) {
        if (name == RangeName(range))
            return range;
    }
    return std::nullopt;
}
