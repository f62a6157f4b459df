#include "billing/summarytext.h"

#include "billing/tariff.h"
#include "billing/totals.h"

QList<CSummaryText::Line> CSummaryText::Lines(const CTotals& totals)
{
    const QList<QString> labels = Labels();
    const bool any = totals.count > 0;
    const QList<QString> values = {
        QString::number(totals.count),
        SpanText(totals.totalTime),
        CTariff::PriceText(totals.totalCost),
        any ? CTariff::PriceText(totals.averageCost) : QStringLiteral("0"),
        any ? SpanText(totals.totalTime / totals.count) : QStringLiteral("00:00:00"),
        BytesText(totals.uploaded),
        BytesText(totals.downloaded),
        BytesText(totals.transmitted),
    };
    QList<Line> lines;
    lines.reserve(kLineCount);
    for (int i = 0; i < kLineCount; ++i)
        lines.append({labels.at(i), values.at(i)});
    return lines;
}

// The labels stay English here (orvalis-cli prints them); the summary window translates
// them in the context "CSummaryText".
QList<QString> CSummaryText::Labels()
{
    return {
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Connections")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Total time online")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Total cost")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Average cost per connection")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Average connection length")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Total data uploaded")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Total data downloaded")),
        QStringLiteral(QT_TRANSLATE_NOOP("CSummaryText", "Total data transmitted")),
    };
}

QString CSummaryText::SpanText(qint64 secs)
{
    // Only a garbled log gives a negative span; it is shown with a sign rather than as
    // negative fields.
    const QString sign = secs < 0 ? QStringLiteral("-") : QString();
    const quint64 value = secs < 0 ? 0 - quint64(secs) : quint64(secs);
    return sign + QStringLiteral("%1:%2:%3")
                      .arg(value / 3600 % 24, 2, 10, QLatin1Char('0'))
                      .arg(value / 60 % 60, 2, 10, QLatin1Char('0'))
                      .arg(value % 60, 2, 10, QLatin1Char('0'));
}

QString CSummaryText::BytesText(qint64 bytes)
{
    return QString::number(bytes);
}
