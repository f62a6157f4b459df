#include "billing/totals.h"

#include "app/apppaths.h"
#include "app/settingsstore.h"
#include "billing/logfile.h"
#include "billing/tariff.h"
#include "common/clock.h"

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
    const int filter = store.ReadInt(QStringLiteral("Settings"), QStringLiteral("SummaryWhen"), 0);
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
    CLogFile::ReadAll(logPath, [&](const CLogRecord& record) {
        ++records;
        if (!PassesFilter(filter, record.startDate, today))
            return;
        ++totals.count;
        totals.uploaded += CTariff::ParseNumber(record.uploaded);
        totals.downloaded += CTariff::ParseNumber(record.downloaded);
        const CTariff::CallPrice call =
            tariff.PriceCall(record.startDay, record.startMonth, record.startYear, record.startSecs,
                             CTariff::RawDuration(record.startSecs, record.endSecs));
        totals.totalTime += call.minimumDuration;
        totals.totalCost += call.price;
    });
    if (recordsRead)
        *recordsRead = records;

    // The free time is taken off once per month pass, and only when the month had calls.
    if (filter == ThisMonth && totals.count > 0)
        totals.totalCost -= tariff.FreeAllowanceValue();
    if (totals.count > 0)
        totals.averageCost = totals.totalCost / totals.count;
    totals.transmitted = totals.uploaded + totals.downloaded;
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
