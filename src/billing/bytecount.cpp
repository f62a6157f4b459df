#include "billing/bytecount.h"

#include <cstring>
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

qint64 CByteCount::Parse(QByteArrayView text)
{
    // Counts as the log holds them: nothing but digits, at most 16 of them (which cannot
    // overflow). The last eight are read at once, those in front of them likewise or one
    // by one.
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

bool CByteCount::ReadDigits(const char* p, qsizetype n, quint64& value)
{
    // Two loads of four bytes, from the start and from the end of the text, cover it; they
    // overlap for fewer than eight characters, where they hold the same bytes. Placed
    // right-aligned in eight bytes, with '0' in front, the text reads as an eight-digit
    // number, first character in the lowest byte.
    quint32 head = 0;
    quint32 tail = 0;
    std::memcpy(&head, p, 4);
    std::memcpy(&tail, p + n - 4, 4);
    const int shift = int(8 * (8 - n));
    quint64 word = (quint64(tail) << 32) | (quint64(head) << shift);
    word |= 0x3030303030303030u & ~(~quint64(0) << shift);

    // Every byte 0x30 to 0x39: the high nibble is 3 and adding 6 does not carry into it.
    constexpr quint64 kHighNibbles = 0xF0F0F0F0F0F0F0F0u;
    if ((word & kHighNibbles) != 0x3030303030303030u ||
        ((word + 0x0606060606060606u) & kHighNibbles) != 0x3030303030303030u)
        return false;

    // Pairs, then quadruples, then the whole: three multiplications instead of eight.
    word -= 0x3030303030303030u;
    word = word * 10 + (word >> 8);
    word = (((word & 0x000000FF000000FFu) * (100 + (quint64(1000000) << 32))) +
            (((word >> 16) & 0x000000FF000000FFu) * (1 + (quint64(10000) << 32)))) >>
           32;
    value = word;
    return true;
}

qint64 CByteCount::Add(qint64 a, qint64 b)
{
    return a > std::numeric_limits<qint64>::max() - b ? std::numeric_limits<qint64>::max() : a + b;
}
