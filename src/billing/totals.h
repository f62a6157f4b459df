#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class CSettingsStore;
class CTariff;
struct CDataPlan;

// The result of one totals pass: the calls of the chosen period priced under the tariff
// and added up.
struct CTotals {
    // Period filters, the values of "Settings" SummaryWhen. Any other value counts all.
    enum Filter { All = 0, ThisMonth = 1, Today = 2 };

    int count = 0;            // records that passed the filter
    qint64 totalTime = 0;     // seconds, durations after the minimum, before block rounding
    double totalCost = 0.0;   // unrounded prices, less the free allowance for this month
    double averageCost = 0.0; // totalCost / count, 0 without records
    qint64 uploaded = 0;      // bytes
    qint64 downloaded = 0;
    qint64 transmitted = 0;
    // The log is a pipe, a device or a folder and was not read (the figures are those of
    // an empty log).
    bool logNotRegular = false;

    // The pass as the program runs it: the filter from "Settings" SummaryWhen, the tariff
    // from the store, the log at its configured place, today from the clock. Never fails:
    // a log that cannot be read gives a pass without records, and logNotRegular says when
    // that was because it is no regular file.
    static CTotals Compute(const CSettingsStore& store);
    // The same with the filter and the log file given by the caller (the tariff is still
    // read from the store). Reads no other setting and writes none.
    static CTotals Compute(const CSettingsStore& store, int filter, const QString& logPath);

    // One pass over the log at logPath. today is the date text ("dd-mm-yyyy") that the
    // filters compare the records' dates with. With a data plan, a call's price is its
    // time price and the price of its bytes past the allowance, and "this month" is the
    // billing cycle that holds today when cycles do not start on the 1st. When
    // recordsRead is given it receives how many records the log yielded, whether they
    // passed the filter or not.
    static CTotals Pass(const QString& logPath, int filter, QByteArrayView today,
                        const CTariff& tariff, const CDataPlan& plan,
                        qint64* recordsRead = nullptr);
    static CTotals Pass(const QString& logPath, int filter, QByteArrayView today,
                        const CTariff& tariff);

    // Today's date from the program clock in the log's date form "dd-mm-yyyy".
    static QByteArray TodayText();
    // Whether a record dated dateText (as in the log) belongs to the period: the month
    // (characters 4 and 5) and for Today also the day (characters 1 and 2) are compared
    // as text with today's; the year never is. This is the calendar month; a billing cycle
    // that starts on another day is matched by its dates in Pass.
    static bool PassesFilter(int filter, QByteArrayView dateText, QByteArrayView today);
};
