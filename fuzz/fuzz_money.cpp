// Fuzz target for CTariff::ParseNumber: the result is always finite and is the value of the
// text's leading plain decimal number, as strtod reads it from a copy cut down to the
// characters such a number can hold (so "inf", "nan" and the "0x" of hex forms read 0).
// Numbers beyond the range of a double read 0. The byte, Latin-1 and UTF-16 forms of the
// parser must agree.

#include "billing/tariff.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Fail(const char* what, double got, double expected)
{
    std::fprintf(stderr, "ParseNumber: %s: got %.17g, expected %.17g\n", what, got, expected);
    __builtin_trap();
}

bool IsNumberChar(char c)
{
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' ||
           c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The text up to its first character that cannot be part of a plain decimal number; each
// character given as its code (anything above 0x7f is no number character).
template <typename Char> std::string NumberPrefix(const Char* text, size_t size)
{
    std::string prefix;
    for (size_t i = 0; i < size; ++i) {
        const unsigned code = unsigned(text[i]);
        if (code > 0x7f || !IsNumberChar(char(code)))
            break;
        prefix.push_back(char(code));
    }
    return prefix;
}

void CheckValue(double got, const std::string& prefix, const char* what)
{
    if (!std::isfinite(got))
        Fail(what, got, 0.0);
    errno = 0;
    const double value = std::strtod(prefix.c_str(), nullptr);
    const bool range = errno == ERANGE;
    if (std::isinf(value)) {
        if (got != 0.0)
            Fail(what, got, 0.0);
    } else if (range && std::fabs(value) < DBL_MIN) {
        // Below the smallest normal double: 0 or the nearest denormal are both sound.
        if (got != 0.0 && got != value)
            Fail(what, got, value);
    } else if (got != value) {
        Fail(what, got, value);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const char* const text = reinterpret_cast<const char*>(bytes);
    const std::string prefix = NumberPrefix(text, size);
    const double fromBytes = CTariff::ParseNumber(QByteArrayView(text, qsizetype(size)));
    CheckValue(fromBytes, prefix, "bytes");

    const QString latin1 = QString::fromLatin1(text, qsizetype(size));
    const double fromLatin1 = CTariff::ParseNumber(QStringView(latin1));
    if (fromLatin1 != fromBytes)
        Fail("Latin-1 text differs from the bytes", fromLatin1, fromBytes);

    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
    const double fromUnits =
        CTariff::ParseNumber(QStringView(units.data(), qsizetype(units.size())));
    CheckValue(fromUnits, NumberPrefix(units.data(), units.size()), "UTF-16 text");
    return 0;
}
