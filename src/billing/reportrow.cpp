#include "billing/reportrow.h"

#include "billing/bytecount.h"
#include "billing/summarytext.h"
#include "billing/tariff.h"

#include <QDate>

#include <algorithm>

namespace {

QString Text(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

// A count field: a whole number (with an optional minus) as it reads, so an old count
// that wrapped at 32 bits shows what it stood for; any other text as it stands.
QString CountText(QByteArrayView field)
{
    const QByteArrayView digits = field.startsWith('-') ? field.sliced(1) : field;
    const bool whole = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    return whole ? QString::number(CByteCount::Parse(field)) : Text(field);
}

} // namespace

QStringList CReportRow::Headings()
{
    return {QStringLiteral("Date"),     QStringLiteral("Start time"), QStringLiteral("End time"),
            QStringLiteral("Duration"), QStringLiteral("User"),       QStringLiteral("Device"),
            QStringLiteral("ISP"),      QStringLiteral("Uploaded"),   QStringLiteral("Downloaded"),
            QStringLiteral("Price")};
}

QStringList CReportRow::Columns(const CLogRecord& record, const CTariff& tariff, double overageCost,
                                DateForm dateForm, const QLocale& locale)
{
    QString date = Text(record.startDate);
    if (dateForm == DateForm::LocaleShort) {
        const QDate start(record.startYear, record.startMonth, record.startDay);
        if (start.isValid())
            date = locale.toString(start, QLocale::ShortFormat);
    }
    // The duration shown is the raw one, before the minimum and the blocks; the price is
    // that of the charged duration.
    const int raw = CTariff::RawDuration(record.startSecs, record.endSecs);
    const CTariff::CallPrice call = tariff.PriceCall(record.startDay, record.startMonth,
                                                     record.startYear, record.startSecs, raw);
    return {date,
            Text(record.startTime),
            Text(record.endTime),
            CSummaryText::SpanText(raw),
            Text(record.user),
            Text(record.device),
            Text(record.isp),
            CountText(record.uploaded),
            CountText(record.downloaded),
            CTariff::PriceText(call.price + overageCost)};
}
