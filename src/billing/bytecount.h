#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <cstring>
#include <limits>

// A byte count as the log and the journal hold it: plain decimal text, read exactly in 64
// bits. Reading the counts of a big log is much of a pass over it, so the common case is
// inline.
class CByteCount {
public:
    // The leading count of a text: optional blanks and sign, then digits up to the first
    // character that is no digit. Text without digits reads as 0, and so does a value
    // beyond 2^63-1. Older versions of the program counted in 32 bits and wrote a count
    // past 2^31 as a negative number: a value from -2^31 to -1 reads as that value plus
    // 2^32; one below -2^31 cannot come from there and reads as 0.
    static qint64 Parse(QByteArrayView text)
    {
        // Counts as the log mostly holds them: four to eight digits and nothing else.
        quint64 value = 0;
        if (text.size() >= 4 && text.size() <= 8 && ReadDigits(text.data(), text.size(), value))
            return qint64(value);
        return ParseAny(text);
    }

    // Reads n (4 to 8) characters at p as one decimal number, all of them at once. False
    // when one of them is no digit.
    static bool ReadDigits(const char* p, qsizetype n, quint64& value)
    {
        // Two loads of four bytes, from the start and from the end of the text, cover it;
        // they overlap for fewer than eight characters, where they hold the same bytes.
        // Placed right-aligned in eight bytes, with '0' in front, the text reads as an
        // eight-digit number, first character in the lowest byte.
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

    // The sum of two counts (neither negative), held at 2^63-1 instead of overflowing.
    static qint64 Add(qint64 a, qint64 b)
    {
        constexpr qint64 kMax = std::numeric_limits<qint64>::max();
        return a > kMax - b ? kMax : a + b;
    }

private:
    // Parse for every text but four to eight digits.
    static qint64 ParseAny(QByteArrayView text);
};
