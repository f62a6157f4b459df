// Fuzz target for CTariff::ParseClockText: hours from the first two characters, minutes from
// the last two, each by the leading-integer rule (blanks, sign, digits), the rest never
// looked at. The input is taken both as UTF-16 code units and as Latin-1 text.

#include "billing/tariff.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Optional blanks (space, tab) and sign, digits up to the first non-digit, 0 when none.
int LeadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        sign = text[i] == u'-' ? -1 : 1;
        ++i;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + (text[i].unicode() - u'0');
    return sign * value;
}

void CheckText(QStringView text)
{
    const qsizetype two = std::min<qsizetype>(2, text.size());
    const int hours = LeadingInt(text.first(two));
    const int minutes = LeadingInt(text.last(two));
    const int expected = (hours * 60 + minutes) * 60;
    const int secs = CTariff::ParseClockText(text);
    if (secs != expected || secs < (-9 * 60 - 9) * 60 || secs > (99 * 60 + 99) * 60) {
        std::fprintf(stderr, "ParseClockText gave %d, expected %d\n", secs, expected);
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    std::vector<char16_t> units(size / 2);
    if (!units.empty())
        std::memcpy(units.data(), bytes, units.size() * sizeof(char16_t));
    CheckText(QStringView(units.data(), qsizetype(units.size())));

    const QString latin1 =
        QString::fromLatin1(reinterpret_cast<const char*>(bytes), qsizetype(size));
    CheckText(latin1);
    return 0;
}
