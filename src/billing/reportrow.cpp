#include "billing/reportrow.h"

#include "billing/bytecount.h"
#include "billing/summarytext.h"
#include "billing/tariff.h"

#include <QDate>

namespace {

QString Text(QByteArrayView bytes)
{
    return QString::fromUtf8(bytes);
}

} // namespace

QStringList CReportRow::Headings()
{
    return {QStringLiteral("Date"),     QStringLiteral("Start time"), QStringLiteral("End time"),
            QStringLiteral("Duration"), QStringLiteral("User"),       QStringLiteral("Device"),
            QStringLiteral("ISP"),      QStringLiteral("Uploaded"),   QStringLiteral("Downloaded"),
            QStringLiteral("Price")};
}

QStringList CReportRow::Columns(const CLogRecord& record, const CTariff& tariff, DateForm dateForm,
                                const QLocale& locale)
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
            QString::number(CByteCount::Parse(record.uploaded)),
            QString::number(CByteCount::Parse(record.downloaded)),
            CTariff::PriceText(call.price)};
}
