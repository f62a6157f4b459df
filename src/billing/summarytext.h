#pragma once

#include <QList>
#include <QString>

struct CTotals;

// The eight lines of the summary, label and value text, as the summary window and the
// command-line tool show them.
class CSummaryText {
public:
    struct Line {
        QString label;
        QString value;
    };

    static constexpr int kLineCount = 8;

    // The lines in their order: "Connections", "Total time online", "Total cost",
    // "Average cost per connection", "Average connection length", "Total data uploaded",
    // "Total data downloaded", "Total data transmitted".
    static QList<Line> Lines(const CTotals& totals);
    // Just the labels, in the same order.
    static QList<QString> Labels();

    // A time span as "hh:mm:ss" with the hours taken modulo 24 (whole days are not shown).
    static QString SpanText(qint64 secs);
    // A byte total as a whole number without separators.
    static QString BytesText(qint64 bytes);
};
