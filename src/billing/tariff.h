#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <climits>

class CSettingsStore;

// The tariff in force for one pass over the log: how a call becomes a charged duration
// and a price. Load it once at the start of a pass; pricing a call reads nothing and
// allocates nothing.
class CTariff {
public:
    // One priced call.
    struct CallPrice {
        int minimumDuration = 0; // raw duration raised to the minimum, before blocks
        int chargedDuration = 0; // after the minimum and the block rounding
        bool cheap = false;
        double price = 0.0;
    };

    // An empty tariff: every key at its default, so every call costs 0.
    CTariff() = default;

    // Reads the tariff keys ("Price" section, weekend flags under "Settings").
    static CTariff Load(const CSettingsStore& store);

    // Seconds from the start time of day to the end time of day. An end before the start
    // crossed midnight; equal times are 0. The dates are not looked at, so whole days
    // are lost.
    static int RawDuration(int startSecs, int endSecs);

    // Prices a call that started on day-month-year at startSecs (seconds since midnight)
    // and lasted rawDuration seconds. A date that is no calendar date is priced without
    // the weekend rule.
    CallPrice PriceCall(int day, int month, int year, int startSecs, int rawDuration) const;
    // The same for a call on a day whose weekday is known, as Weekday gives it: a pass over
    // the log works the weekday out once per date instead of once per call.
    CallPrice PriceCallOn(unsigned weekday, int startSecs, int rawDuration) const;

    // 1 = Monday ... 7 = Sunday, or 0 when day-month-year is no calendar date (years
    // outside 1..9999 included).
    static unsigned Weekday(int day, int month, int year);

    // What the free time of each month is worth: the price of one call of that length at
    // the normal rate, dial charge included. 0 when the free time text is "00:00".
    double FreeAllowanceValue() const;

    // An "hh:mm" setting in seconds: hours from the first two characters, minutes from
    // the last two, each by the leading-integer rule; the colon is never looked at.
    // "1:30" is 5400 s, a bare "5" is 5 h 5 min.
    static int ParseClockText(QStringView text);

    // The leading decimal number of a text: optional blanks and sign, digits, optional
    // fraction and exponent, stopping at the first character that does not fit. Text
    // without such a number ("", "abc", "inf", "nan", the "0x" of "0x10") and numbers
    // beyond the range of a double read as 0.
    static double ParseNumber(QByteArrayView text);
    static double ParseNumber(QStringView text);

    // A price as shown everywhere: two decimals, no separators, no currency sign.
    static QString PriceText(double price);
    // The value with the given number of decimals as C's "%.Nf" gives it: exact ties are
    // rounded to even, and the point is always ".".
    static QString FixedText(double value, int decimals);

    double PricePerDial() const { return m_pricePerDial; }
    double CostPerMinute() const { return m_costPerMinute; }
    double CheapCostPerMinute() const { return m_cheapCostPerMinute; }
    int CheapStart() const { return m_cheapStart; }
    int CheapEnd() const { return m_cheapEnd; }
    int CheapInSat() const { return m_cheapInSat; }
    int CheapInSun() const { return m_cheapInSun; }
    int MinimumTime() const { return m_minimumTime; }
    int Block() const { return m_block; }
    const QString& BlockText() const { return m_blockText; }
    int FreeTime() const { return m_freeTime; }
    const QString& FreeTimeText() const { return m_freeTimeText; }

    // Two tariffs are equal when they price every call alike and give the same allowance.
    friend bool operator==(const CTariff&, const CTariff&) = default;

private:
    bool IsCheap(unsigned weekday, int startSecs) const;
    // Whether the weekend rule needs the weekday at all.
    bool UsesWeekday() const { return m_cheapInSat == 1 || m_cheapInSun == 1; }

    double m_pricePerDial = 0.0;
    double m_costPerMinute = 0.0;
    double m_cheapCostPerMinute = 0.0;
    int m_cheapStart = 0;
    int m_cheapEnd = 0;
    int m_cheapInSat = 0;
    int m_cheapInSun = 0;
    int m_minimumTime = 0;
    int m_block = 0;
    QString m_blockText = QStringLiteral("00:00");
    bool m_roundToBlocks = false; // block text not "00:00" and a block above 0 s
    int m_freeTime = 0;
    QString m_freeTimeText = QStringLiteral("00:00");
};

// Pricing runs for every call of a pass over the log: it is defined here to be inlined there.

inline int CTariff::RawDuration(int startSecs, int endSecs)
{
    // Times from a garbled record can lie far outside one day; 64 bits keep the
    // arithmetic defined for any input.
    qint64 duration = 0;
    if (endSecs > startSecs)
        duration = qint64(endSecs) - startSecs;
    else if (endSecs < startSecs)
        duration = 86400 - (qint64(startSecs) - endSecs);
    return int(std::clamp<qint64>(duration, INT_MIN, INT_MAX));
}

inline CTariff::CallPrice CTariff::PriceCallOn(unsigned weekday, int startSecs,
                                               int rawDuration) const
{
    CallPrice call;
    int duration = rawDuration;
    if (duration < m_minimumTime)
        duration = m_minimumTime;
    call.minimumDuration = duration;

    if (m_roundToBlocks) {
        // Up to the next whole block; integer division already rounds a negative
        // duration (only a garbled record gives one) towards the ceiling.
        qint64 blocks = duration / m_block;
        if (duration > 0 && duration % m_block != 0)
            ++blocks;
        duration = int(qMin<qint64>(blocks * m_block, INT_MAX));
    }
    call.chargedDuration = duration;

    call.cheap = IsCheap(weekday, startSecs);
    const double rate = call.cheap ? m_cheapCostPerMinute : m_costPerMinute;
    call.price = m_pricePerDial + rate * (1.0 / 60.0) * duration;
    return call;
}

inline bool CTariff::IsCheap(unsigned weekday, int startSecs) const
{
    bool cheap = false;
    if (m_cheapStart > m_cheapEnd) // across midnight, e.g. 23:00 to 05:59
        cheap = startSecs > m_cheapStart || startSecs < m_cheapEnd;
    else if (m_cheapStart < m_cheapEnd) // within one day, e.g. 08:00 to 17:59
        cheap = startSecs > m_cheapStart && startSecs < m_cheapEnd;
    // Equal bounds: no cheap time at all.

    if ((m_cheapInSat == 1 && weekday == 6) || (m_cheapInSun == 1 && weekday == 7))
        cheap = true;
    return cheap;
}
