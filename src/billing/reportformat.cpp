#include "billing/reportformat.h"

#include "billing/bytecount.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

char* Put(char* out, QByteArrayView bytes)
{
    // An empty view may have no data at all, which memcpy must not be given.
    if (bytes.isEmpty())
        return out;
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

bool IsAscii(QByteArrayView text)
{
    unsigned char any = 0;
    for (const char c : text)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// Two digits of a value below 100.
char* TwoDigits(char* out, quint64 value)
{
    out[0] = char('0' + value / 10);
    out[1] = char('0' + value % 10);
    return out + 2;
}

} // namespace

CReportFormat::CReportFormat(const CTariff& tariff, Form form)
    : m_tariff(tariff)
    , m_form(form)
{}

char* CReportFormat::Text(QByteArrayView field, char* out) const
{
    QByteArray decoded;
    if (!IsAscii(field)) {
        decoded = QString::fromUtf8(field).toUtf8();
        field = decoded;
    }
    switch (m_form) {
    case Form::Text:
        for (const char c : field)
            *out++ = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        return out;
    case Form::Csv:
        if (std::none_of(field.begin(), field.end(),
                         [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }))
            return Put(out, field);
        *out++ = '"';
        for (const char c : field) {
            if (c == '"')
                *out++ = '"';
            *out++ = c;
        }
        *out++ = '"';
        return out;
    case Form::Json:
        *out++ = '"';
        for (const char c : field) {
            if (c == '"' || c == '\\')
                *out++ = '\\';
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char kHex[] = "0123456789abcdef";
                out = Put(out, "\\u00");
                *out++ = kHex[c >> 4];
                *out++ = kHex[c & 15];
            } else {
                *out++ = c;
            }
        }
        *out++ = '"';
        return out;
    }
    return out;
}

char* CReportFormat::Count(QByteArrayView field, char* out) const
{
    // A whole number as CByteCount reads it; any other text as it stands, and in JSON
    // without quotes, as the columns have always been written there.
    const QByteArrayView digits = field.startsWith('-') ? field.sliced(1) : field;
    const bool whole = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    if (whole)
        return std::to_chars(out, out + 24, CByteCount::Parse(field)).ptr;
    if (m_form != Form::Json)
        return Text(field, out);
    if (IsAscii(field))
        return Put(out, field);
    return Put(out, QString::fromUtf8(field).toUtf8());
}

char* CReportFormat::Write(const CLogRecord& record, double overageCost, char* out)
{
    const bool json = m_form == Form::Json;
    const char separator = m_form == Form::Csv ? ',' : '\t';
    // In JSON the name of a field, otherwise the separator before every field but the first.
    bool first = true;
    const auto next = [&](const char* name) {
        if (json)
            out = Put(out, name);
        else if (!first)
            *out++ = separator;
        first = false;
    };

    next("{\"date\":");
    out = Text(record.startDate, out);
    next(",\"start\":");
    out = Text(record.startTime, out);
    next(",\"end\":");
    out = Text(record.endTime, out);

    // The duration shown is the raw one, before the minimum and the blocks; the price is
    // that of the charged duration.
    const int raw = CTariff::RawDuration(record.startSecs, record.endSecs);
    next(",\"duration\":");
    if (json)
        *out++ = '"';
    if (raw < 0)
        *out++ = '-';
    const quint64 span = raw < 0 ? 0 - quint64(qint64(raw)) : quint64(raw);
    out = TwoDigits(out, span / 3600 % 24);
    *out++ = ':';
    out = TwoDigits(out, span / 60 % 60);
    *out++ = ':';
    out = TwoDigits(out, span % 60);
    if (json)
        *out++ = '"';

    next(",\"user\":");
    out = Text(record.user, out);
    next(",\"device\":");
    out = Text(record.device, out);
    next(",\"isp\":");
    out = Text(record.isp, out);
    next(",\"uploaded\":");
    out = Count(record.uploaded, out);
    next(",\"downloaded\":");
    out = Count(record.downloaded, out);

    if (record.startDay != m_day || record.startMonth != m_month || record.startYear != m_year) {
        m_day = record.startDay;
        m_month = record.startMonth;
        m_year = record.startYear;
        m_weekday = CTariff::Weekday(m_day, m_month, m_year);
    }
    const CTariff::CallPrice call = m_tariff.PriceCallOn(m_weekday, record.startSecs, raw);
    next(",\"price\":");
    // As CTariff::PriceText writes it.
    char price[400];
    const std::to_chars_result result = std::to_chars(
        price, price + sizeof price, call.price + overageCost, std::chars_format::fixed, 2);
    if (result.ec == std::errc())
        out = Put(out, QByteArrayView(price, result.ptr - price));

    if (json)
        *out++ = '}';
    else
        out = Put(out, m_form == Form::Csv ? QByteArrayView("\r\n") : QByteArrayView("\n"));
    return out;
}
