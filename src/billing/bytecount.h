#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// A byte count as the log and the journal hold it: plain decimal text, read exactly in 64
// bits.
class CByteCount {
public:
    // The leading count of a text: optional blanks and sign, then digits up to the first
    // character that is no digit. Text without digits reads as 0, and so does a value
    // beyond 2^63-1. Older versions of the program counted in 32 bits and wrote a count
    // past 2^31 as a negative number: a value from -2^31 to -1 reads as that value plus
    // 2^32; one below -2^31 cannot come from there and reads as 0.
    static qint64 Parse(QByteArrayView text);
    // Reads n (4 to 8) characters at p as one decimal number, all of them at once. False
    // when one of them is no digit.
    static bool ReadDigits(const char* p, qsizetype n, quint64& value);

    // The sum of two counts (neither negative), held at 2^63-1 instead of overflowing.
    static qint64 Add(qint64 a, qint64 b);
};
