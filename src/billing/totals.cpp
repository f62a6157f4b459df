#include "billing/totals.h"

#include "billing/bytecount.h"
#include "billing/dataplan.h"
#include "billing/logreader.h"
#include "billing/tariff.h"
#include "billing/volumeledger.h"
#include "common/apppaths.h"
#include "common/clock.h"
#include "common/settingsstore.h"

#include <QDate>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

// The weekday of a record's start day, worked out again only when the day changes: the log
// is in date order, so it changes rarely from one call to the next.
class CStartWeekday {
public:
    unsigned Of(const CLogRecord& record)
    {
        if (!m_known || record.startDay != m_day || record.startMonth != m_month ||
            record.startYear != m_year) {
            m_weekday = CTariff::Weekday(record.startDay, record.startMonth, record.startYear);
            m_day = record.startDay;
            m_month = record.startMonth;
            m_year = record.startYear;
            m_known = true;
        }
        return m_weekday;
    }

private:
    int m_day = 0;
    int m_month = 0;
    int m_year = 0;
    unsigned m_weekday = 0;
    bool m_known = false;
};
// Whether the two characters from pos on (fewer where a text ends early) are the same in
// both texts. Runs for every record, so it compares in place.
bool SamePair(QByteArrayView a, QByteArrayView b, qsizetype pos)
{
    const qsizetype lengthA = std::clamp<qsizetype>(a.size() - pos, 0, 2);
    const qsizetype lengthB = std::clamp<qsizetype>(b.size() - pos, 0, 2);
    if (lengthA != lengthB)
        return false;
    for (qsizetype i = pos; i < pos + lengthA; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}
// A date as one number that orders like the date: yyyymmdd.
int DateKey(int day, int month, int year)
{
    return year * 10000 + month * 100 + day;
}

int DateKey(QDate date)
{
    return DateKey(date.day(), date.month(), date.year());
}

// The calendar date of a "dd-mm-yyyy" text.
QDate DateOfText(QByteArrayView text)
{
    CLogRecord record;
    if (!CLogReader::ParseLine(text, record))
        return {};
    return QDate(record.startYear, record.startMonth, record.startDay);
}

// Logs of at least this size are summed in two halves at once when every call counts.
constexpr qint64 kSplitBytes = qint64(4) << 20;
// Fewer bytes than a record as the program writes it takes: the prices of a part of the
// log are kept in room for one per this many bytes, so that their list seldom grows
// (which copies it and touches fresh memory again). Room not used is never touched.
constexpr qint64 kBytesPerPrice = 48;

// The sums of the calls of a part of the log.
struct PartSums {
    qint64 records = 0;
    qint64 uploaded = 0;
    qint64 downloaded = 0;
    qint64 totalTime = 0;
};

// Counts and sums every record the reader gives; the price of each call goes to priced,
// in file order.
template <typename Priced>
PartSums SumEvery(CLogReader& reader, const CTariff& tariff, Priced priced)
{
    // The sums live in locals, which the compiler keeps in registers across the loop.
    qint64 records = 0;
    qint64 uploaded = 0;
    qint64 downloaded = 0;
    qint64 totalTime = 0;
    CStartWeekday weekday;
    CLogRecord record;
    while (reader.Next(record)) {
        ++records;
        uploaded = CByteCount::Add(uploaded, CByteCount::Parse(record.uploaded));
        downloaded = CByteCount::Add(downloaded, CByteCount::Parse(record.downloaded));
        const CTariff::CallPrice call =
            tariff.PriceCallOn(weekday.Of(record), record.startSecs,
                               CTariff::RawDuration(record.startSecs, record.endSecs));
        totalTime += call.minimumDuration;
        priced(call.price);
    }
    return {records, uploaded, downloaded, totalTime};
}

// Where a big log is cut in two: the start of the first line that begins in its second
// half, with the log's size in size. -1 when the log is small, cannot be read or has no
// such line.
qint64 SplitPoint(const QString& path, qint64& size)
{
    CLogReader::Problem problem = CLogReader::Problem::None;
    const int fd = CLogReader::OpenRegular(path, problem, &size);
    if (fd < 0)
        return -1;
    qint64 split = -1;
    char chunk[4096];
    for (qint64 at = size / 2 - 1; size >= kSplitBytes && split < 0 && at < size;) {
        const ssize_t got = ::pread(fd, chunk, sizeof chunk, off_t(at));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (const void* found = std::memchr(chunk, '\n', size_t(got)))
            split = at + (static_cast<const char*>(found) - chunk) + 1;
        at += got;
    }
    ::close(fd);
    return split < size ? split : -1;
}
} // namespace

CTotals CTotals::Compute(const CSettingsStore& store)
{
    const int filter = store.Read(Keys::SummaryWhen);
    return Compute(store, filter, CAppPaths::LogFile(store));
}

CTotals CTotals::Compute(const CSettingsStore& store, int filter, const QString& logPath)
{
    const QByteArray today = TodayText();
    const CTariff tariff = CTariff::Load(store);
    return Pass(logPath, filter, today, tariff, CDataPlan::Load(store));
}

CTotals CTotals::Pass(const QString& logPath, int filter, QByteArrayView today,
                      const CTariff& tariff)
{
    return Pass(logPath, filter, today, tariff, CDataPlan());
}

CTotals CTotals::Pass(const QString& logPath, int filter, QByteArrayView today,
                      const CTariff& tariff, const CDataPlan& plan, qint64* recordsRead)
{
    CTotals totals;
    qint64 records = 0;
    // The sums live in locals, which the compiler keeps in registers across the calls;
    // they are added in file order as ever.
    qint64 uploaded = 0;
    qint64 downloaded = 0;
    double totalCost = 0.0;
    qint64 totalTime = 0;
    const bool everyRecord = filter != ThisMonth && filter != Today;
    // "This month" as a billing cycle: the dates from its first to its last day.
    const bool byCycle = filter == ThisMonth && plan.ShiftedCycle();
    const CBillingCycle cycle = byCycle ? plan.CycleOf(DateOfText(today)) : CBillingCycle();
    const int cycleFirst = cycle.IsValid() ? DateKey(cycle.Start()) : 1;
    const int cycleLast = cycle.IsValid() ? DateKey(cycle.End()) : 0;
    const bool byVolume = plan.Active();
    CVolumeLedger ledger(plan);
    CLogReader reader;
    // Every call counts: a big log is read in two halves at once, the second on a thread
    // of its own that keeps its calls' prices, which are then added in file order.
    qint64 size = 0;
    const qint64 split = everyRecord && !byVolume ? SplitPoint(logPath, size) : -1;
    if (split > 0) {
        PartSums second;
        std::vector<double> prices;
        const auto sumSecond = [&] {
            prices.reserve(size_t((size - split) / kBytesPerPrice));
            CLogReader secondReader;
            if (secondReader.Open(logPath, split, -1))
                second =
                    SumEvery(secondReader, tariff, [&](double price) { prices.push_back(price); });
        };
        std::thread thread;
        try {
            thread = std::thread(sumSecond);
        } catch (const std::system_error&) {
            // Without a thread the second half is read after the first.
        }
        PartSums first;
        if (reader.Open(logPath, 0, split))
            first = SumEvery(reader, tariff, [&](double price) { totalCost += price; });
        if (thread.joinable())
            thread.join();
        else
            sumSecond();
        for (const double price : prices)
            totalCost += price;
        records = first.records + second.records;
        totals.count = int(records);
        uploaded = CByteCount::Add(first.uploaded, second.uploaded);
        downloaded = CByteCount::Add(first.downloaded, second.downloaded);
        totalTime = first.totalTime + second.totalTime;
    } else if (reader.Open(logPath)) {
        CStartWeekday weekday;
        CLogRecord record;
        while (reader.Next(record)) {
            ++records;
            bool passes = everyRecord;
            if (byCycle) {
                const int date = DateKey(record.startDay, record.startMonth, record.startYear);
                passes = date >= cycleFirst && date <= cycleLast;
            } else if (!everyRecord) {
                passes = PassesFilter(filter, record.startDate, today);
            }
            if (!passes && !byVolume)
                continue;
            const qint64 up = CByteCount::Parse(record.uploaded);
            const qint64 down = CByteCount::Parse(record.downloaded);
            // Calls outside the period still use up the allowance of their cycle.
            if (byVolume) {
                ledger.Add(record.startDay, record.startMonth, record.startYear,
                           plan.CountedBytes(down, up), passes);
                if (!passes)
                    continue;
            }
            ++totals.count;
            uploaded = CByteCount::Add(uploaded, up);
            downloaded = CByteCount::Add(downloaded, down);
            const CTariff::CallPrice call =
                tariff.PriceCallOn(weekday.Of(record), record.startSecs,
                                   CTariff::RawDuration(record.startSecs, record.endSecs));
            totalTime += call.minimumDuration;
            totalCost += call.price;
        }
    }
    totals.logNotRegular = reader.Error() == CLogReader::Problem::NotRegularFile;
    totals.uploaded = uploaded;
    totals.downloaded = downloaded;
    totals.totalCost = totalCost;
    if (byVolume)
        totals.totalCost += plan.OverageCost(ledger.PassedOverageBytes());
    totals.totalTime = totalTime;
    if (recordsRead)
        *recordsRead = records;

    // The free time is taken off once per month pass, and only when the month had calls.
    if (filter == ThisMonth && totals.count > 0)
        totals.totalCost -= tariff.FreeAllowanceValue();
    if (totals.count > 0)
        totals.averageCost = totals.totalCost / totals.count;
    totals.transmitted = CByteCount::Add(totals.uploaded, totals.downloaded);
    return totals;
}

QByteArray CTotals::TodayText()
{
    return CClock::Now().date().toString(QStringLiteral("dd-MM-yyyy")).toLatin1();
}

bool CTotals::PassesFilter(int filter, QByteArrayView dateText, QByteArrayView today)
{
    switch (filter) {
    case ThisMonth:
        return SamePair(dateText, today, 3);
    case Today:
        return SamePair(dateText, today, 0) && SamePair(dateText, today, 3);
    default:
        return true;
    }
}
