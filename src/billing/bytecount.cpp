#include "billing/bytecount.h"

#include <limits>

namespace {

constexpr quint64 kMax = quint64(std::numeric_limits<qint64>::max());
// The largest negative value a 32-bit count could have been written as.
constexpr quint64 kMaxWrapped = quint64(1) << 31;
constexpr quint64 k32Bits = quint64(1) << 32;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

qint64 CByteCount::ParseAny(QByteArrayView text)
{
    // Nine to sixteen digits (which cannot overflow): the last eight are read at once,
    // those in front of them likewise or one by one.
    if (text.size() >= 4 && text.size() <= 16) {
        const char* const p = text.data();
        const qsizetype head = text.size() > 8 ? text.size() - 8 : 0;
        quint64 high = 0;
        quint64 low = 0;
        bool digits = head < 4 || ReadDigits(p, head, high);
        for (qsizetype i = 0; digits && head < 4 && i < head; ++i) {
            digits = p[i] >= '0' && p[i] <= '9';
            high = high * 10 + quint64(p[i] - '0');
        }
        if (digits && ReadDigits(p + head, text.size() - head, low))
            return qint64(high * 100000000 + low);
    }
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Past kMax the value is no count at all; the digits are still read to their end.
    quint64 value = 0;
    bool tooLarge = false;
    for (; i < size && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = unsigned(text[i] - '0');
        if (value > (kMax - digit) / 10)
            tooLarge = true;
        else
            value = value * 10 + digit;
    }
    if (tooLarge)
        return 0;
    if (!negative || value == 0)
        return qint64(value);
    return value <= kMaxWrapped ? qint64(k32Bits - value) : 0;
}
