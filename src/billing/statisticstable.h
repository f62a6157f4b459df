#pragma once

#include "billing/usagestatistics.h"

#include <QByteArray>
#include <QList>

// The figures of the statistics as text for scripts and spreadsheets: one row per day,
// per cycle or per hour of the day, with a heading row. Bytes are whole numbers and money
// has two decimals without a currency, as everywhere in the program.
class CStatisticsTable {
public:
    // Tab-separated with a heading line, RFC 4180 CSV (CR LF), or one JSON array of
    // objects whose keys are the headings.
    enum class Format { Text, Csv, Json };

    // date, calls, received, sent, counted, cost
    static QByteArray Days(const QList<CUsageStatistics::Day>& days, Format format);
    // cycle_start, cycle_end, calls, received, sent, counted, allowance, cost
    static QByteArray Cycles(const QList<CCycleUsage>& cycles, Format format);
    // hour, calls, received, sent
    static QByteArray Hours(const CUsageStatistics& stats, Format format);

private:
    // The rows, each a list of fields in the order of the heading; quoted marks the fields
    // that are text in JSON.
    static QByteArray Join(const QList<QByteArray>& heading, const QList<bool>& quoted,
                           const QList<QList<QByteArray>>& rows, Format format);
};
