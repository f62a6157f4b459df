#include "billing/totals.h"

#include "billing/bytecount.h"
#include "billing/logreader.h"
#include "billing/tariff.h"
#include "common/apppaths.h"
#include "common/clock.h"
#include "common/settingsstore.h"

#include <algorithm>

namespace {
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
    return Pass(logPath, filter, today, tariff);
}

CTotals CTotals::Pass(const QString& logPath, int filter, QByteArrayView today,
                      const CTariff& tariff, qint64* recordsRead)
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
    CLogReader reader;
    if (reader.Open(logPath)) {
        // The log is in date order, so the weekday changes rarely from one call to the next.
        int weekdayOf[3] = {0, 0, 0}; // day, month, year
        unsigned weekday = 0;
        bool weekdayKnown = false;
        CLogRecord record;
        while (reader.Next(record)) {
            ++records;
            if (!everyRecord && !PassesFilter(filter, record.startDate, today))
                continue;
            ++totals.count;
            uploaded = CByteCount::Add(uploaded, CByteCount::Parse(record.uploaded));
            downloaded = CByteCount::Add(downloaded, CByteCount::Parse(record.downloaded));
            if (!weekdayKnown || record.startDay != weekdayOf[0] ||
                record.startMonth != weekdayOf[1] || record.startYear != weekdayOf[2]) {
                weekday = CTariff::Weekday(record.startDay, record.startMonth, record.startYear);
                weekdayOf[0] = record.startDay;
                weekdayOf[1] = record.startMonth;
                weekdayOf[2] = record.startYear;
                weekdayKnown = true;
            }
            const CTariff::CallPrice call = tariff.PriceCallOn(
                weekday, record.startSecs, CTariff::RawDuration(record.startSecs, record.endSecs));
            totalTime += call.minimumDuration;
            totalCost += call.price;
        }
    }
    totals.logNotRegular = reader.Error() == CLogReader::Problem::NotRegularFile;
    totals.uploaded = uploaded;
    totals.downloaded = downloaded;
    totals.totalCost = totalCost;
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
