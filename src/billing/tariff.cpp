#include "billing/tariff.h"

#include "billing/bytecount.h"
#include "common/settingsstore.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstring>
#include <system_error>

namespace {
const QString kZeroClock = QStringLiteral("00:00");

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Pointer past the digits that start at p.
const char* SkipDigits(const char* p, const char* end)
{
    while (p < end && IsDigit(*p))
        ++p;
    return p;
}

} // namespace

CTariff CTariff::Load(const CSettingsStore& store)
{
    CTariff tariff;
    const auto money = [&store](const CTextKey& key) {
        return ParseNumber(QStringView(store.Read(key)));
    };
    tariff.m_pricePerDial = money(Keys::PricePerDial);
    tariff.m_costPerMinute = money(Keys::CostPerMinute);
    tariff.m_cheapCostPerMinute = money(Keys::CheapCostPerMinute);
    tariff.m_cheapStart = ParseClockText(store.Read(Keys::CheapTimeStart));
    tariff.m_cheapEnd = ParseClockText(store.Read(Keys::CheapTimeEnd));
    tariff.m_cheapInSat = store.Read(Keys::CheapInSat);
    tariff.m_cheapInSun = store.Read(Keys::CheapInSun);
    tariff.m_minimumTime = ParseClockText(store.Read(Keys::MinConTime));
    tariff.m_blockText = store.Read(Keys::ConnectionBlock);
    tariff.m_block = ParseClockText(tariff.m_blockText);
    tariff.m_roundToBlocks = tariff.m_blockText != kZeroClock && tariff.m_block > 0;
    tariff.m_freeTimeText = store.Read(Keys::FreeMonthTime);
    tariff.m_freeTime = ParseClockText(tariff.m_freeTimeText);
    return tariff;
}

unsigned CTariff::Weekday(int day, int month, int year)
{
    using namespace std::chrono;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return 0;
    const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                              std::chrono::day{unsigned(day)}};
    if (!date.ok())
        return 0;
    return weekday{sys_days{date}}.iso_encoding();
}

CTariff::CallPrice CTariff::PriceCall(int day, int month, int year, int startSecs,
                                      int rawDuration) const
{
    return PriceCallOn(UsesWeekday() ? Weekday(day, month, year) : 0, startSecs, rawDuration);
}

double CTariff::FreeAllowanceValue() const
{
    if (m_freeTimeText == kZeroClock)
        return 0.0;
    return m_pricePerDial + m_costPerMinute * (m_freeTime / 60) +
           m_costPerMinute * (1.0 / 60.0) * (m_freeTime % 60);
}

int CTariff::ParseClockText(QStringView text)
{
    const int hours = CSettingsStore::ParseLeadingInt(text.first(qMin<qsizetype>(2, text.size())));
    const int minutes = CSettingsStore::ParseLeadingInt(text.last(qMin<qsizetype>(2, text.size())));
    return (hours * 60 + minutes) * 60;
}

double CTariff::ParseNumber(QByteArrayView text)
{
    // Byte counts as the log holds them: nothing but digits. Four to eight of them are
    // read at once, without a branch per digit.
    if (text.size() >= 4 && text.size() <= 8) {
        quint64 digits = 0;
        if (CByteCount::ReadDigits(text.data(), text.size(), digits))
            return double(qint64(digits));
    }

    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && IsBlank(*p))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    // Only the characters of a plain decimal number reach the conversion, so nothing
    // like "inf", "nan" or a hexadecimal form is ever taken.
    const char* const first = p;
    quint64 whole = 0; // exact while there are at most 15 digits
    for (; p < end && IsDigit(*p); ++p)
        whole = whole * 10 + quint64(*p - '0');
    qsizetype digits = p - first;
    // Byte counts are plain whole numbers: up to 15 digits they are exact in a double and
    // need no general conversion.
    if (digits > 0 && digits <= 15 && (p == end || (*p != '.' && *p != 'e' && *p != 'E'))) {
        const double value = double(whole);
        return negative ? -value : value;
    }
    if (p < end && *p == '.') {
        const char* const fraction = p + 1;
        p = SkipDigits(fraction, end);
        digits += p - fraction;
    }
    if (digits == 0)
        return 0.0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        const char* const exponentEnd = SkipDigits(q, end);
        if (exponentEnd > q)
            p = exponentEnd;
    }

    double value = 0.0;
    const std::from_chars_result result =
        std::from_chars(first, p, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != p)
        return 0.0;
    return negative ? -value : value;
}

double CTariff::ParseNumber(QStringView text)
{
    // Characters outside Latin-1 become '?', which ends a number like any other letter.
    return ParseNumber(QByteArrayView(text.toLatin1()));
}

QString CTariff::PriceText(double price)
{
    return FixedText(price, 2);
}

QString CTariff::FixedText(double value, int decimals)
{
    // The largest double has 309 digits before the point.
    char buffer[400];
    const std::to_chars_result result = std::to_chars(
        buffer, buffer + sizeof buffer, value, std::chars_format::fixed, qBound(0, decimals, 30));
    if (result.ec != std::errc())
        return QString();
    return QString::fromLatin1(buffer, result.ptr - buffer);
}
