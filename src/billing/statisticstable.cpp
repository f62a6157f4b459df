#include "billing/statisticstable.h"

#include "billing/tariff.h"

namespace {

QByteArray Date(QDate date)
{
    return date.toString(Qt::ISODate).toLatin1();
}

QByteArray Money(double value)
{
    return CTariff::PriceText(value).toLatin1();
}

} // namespace

QByteArray CStatisticsTable::Days(const QList<CUsageStatistics::Day>& days, Format format)
{
    QList<QList<QByteArray>> rows;
    for (const CUsageStatistics::Day& day : days) {
        rows.append({Date(day.date), QByteArray::number(day.calls),
                     QByteArray::number(day.received), QByteArray::number(day.sent),
                     QByteArray::number(day.counted), Money(day.cost)});
    }
    return Join({"date", "calls", "received", "sent", "counted", "cost"},
                {true, false, false, false, false, false}, rows, format);
}

QByteArray CStatisticsTable::Cycles(const QList<CCycleUsage>& cycles, Format format)
{
    QList<QList<QByteArray>> rows;
    for (const CCycleUsage& usage : cycles) {
        rows.append({Date(usage.cycle.Start()), Date(usage.cycle.End()),
                     QByteArray::number(usage.calls), QByteArray::number(usage.received),
                     QByteArray::number(usage.sent), QByteArray::number(usage.counted),
                     QByteArray::number(usage.allowance), Money(usage.cost)});
    }
    return Join(
        {"cycle_start", "cycle_end", "calls", "received", "sent", "counted", "allowance", "cost"},
        {true, true, false, false, false, false, false, false}, rows, format);
}

QByteArray CStatisticsTable::Hours(const CUsageStatistics& stats, Format format)
{
    QList<QList<QByteArray>> rows;
    for (int hour = 0; hour < int(stats.hours.size()); ++hour) {
        const CUsageStatistics::Hour& sums = stats.hours[hour];
        rows.append({QByteArray::number(hour), QByteArray::number(sums.calls),
                     QByteArray::number(sums.received), QByteArray::number(sums.sent)});
    }
    return Join({"hour", "calls", "received", "sent"}, {false, false, false, false}, rows, format);
}

QByteArray CStatisticsTable::Join(const QList<QByteArray>& heading, const QList<bool>& quoted,
                                  const QList<QList<QByteArray>>& rows, Format format)
{
    QByteArray text;
    if (format == Format::Json) {
        text += '[';
        for (qsizetype row = 0; row < rows.size(); ++row) {
            text += row == 0 ? "\n{" : ",\n{";
            for (qsizetype i = 0; i < heading.size(); ++i) {
                const QByteArray& field = rows[row][i];
                text += (i == 0 ? "\"" : ",\"") + heading[i] + "\":";
                text += quoted[i] ? '"' + field + '"' : field;
            }
            text += '}';
        }
        return text + (rows.isEmpty() ? "]\n" : "\n]\n");
    }
    // No field holds a separator, a quote or a line break, so none needs quoting.
    const char separator = format == Format::Csv ? ',' : '\t';
    const QByteArray end = format == Format::Csv ? "\r\n" : "\n";
    text += heading.join(separator) + end;
    for (const QList<QByteArray>& row : rows)
        text += row.join(separator) + end;
    return text;
}
