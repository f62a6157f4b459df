#include "billing/loglinecheck.h"

#include "billing/bytecount.h"
#include "billing/logreader.h"
#include "billing/logrecord.h"

#include <algorithm>

namespace {

constexpr int kFields = 9;
constexpr qint64 kDay = 24 * 60 * 60;

bool Digits(QByteArrayView text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return !text.isEmpty();
}

// A date "dd-mm-yyyy" that is a calendar date; invalid otherwise.
QDate WrittenDate(QByteArrayView text)
{
    if (text.size() != 10 || text[2] != '-' || text[5] != '-' || !Digits(text.sliced(0, 2)) ||
        !Digits(text.sliced(3, 2)) || !Digits(text.sliced(6, 4)))
        return {};
    return QDate(text.sliced(6, 4).toInt(), text.sliced(3, 2).toInt(), text.sliced(0, 2).toInt());
}

// A time of day "hh:mm:ss"; invalid otherwise.
QTime WrittenTime(QByteArrayView text)
{
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !Digits(text.sliced(0, 2)) ||
        !Digits(text.sliced(3, 2)) || !Digits(text.sliced(6, 2)))
        return {};
    return QTime(text.sliced(0, 2).toInt(), text.sliced(3, 2).toInt(), text.sliced(6, 2).toInt());
}

// A count as the log writes it, which CByteCount reads as itself (or as an older
// version's 32-bit count): no text around it and no value it would read as 0.
bool IsCount(QByteArrayView text)
{
    const QByteArrayView digits = text.startsWith('-') ? text.sliced(1) : text;
    if (!Digits(digits) || digits.size() > 19)
        return false;
    return CByteCount::Parse(text) != 0 ||
           std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

bool Fail(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

} // namespace

bool CLogLineCheck::IsSaneMoment(const QDateTime& moment)
{
    return moment.isValid() && moment.date().year() >= kFirstYear &&
           moment.date().year() <= kLastYear;
}

bool CLogLineCheck::IsSound(QByteArrayView line, const QDateTime& now, QString* why)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    CLogRecord record;
    // Every field is followed by a separator and none is empty, so the parser sees all of
    // them and nothing after the last.
    if (!CLogReader::ParseLine(line, record) || !line.endsWith('|') ||
        std::count(line.begin(), line.end(), '|') != kFields || line.contains("||") ||
        record.downloaded.isEmpty())
        return Fail(why, QStringLiteral("not the nine fields of a record"));

    const QDateTime start(WrittenDate(record.startDate), WrittenTime(record.startTime));
    const QDateTime end(WrittenDate(record.endDate), WrittenTime(record.endTime));
    if (!start.isValid() || !end.isValid())
        return Fail(why, QStringLiteral("no date or time of day"));
    if (!IsSaneMoment(start) || !IsSaneMoment(end))
        return Fail(why, QStringLiteral("a year out of range"));
    if (!IsCount(record.uploaded) || !IsCount(record.downloaded))
        return Fail(why, QStringLiteral("no byte count"));
    const qint64 length = start.secsTo(end);
    if (length < 0 || length >= kDay)
        return Fail(why, QStringLiteral("a call of %1 seconds").arg(length));
    if (now.isValid() && (now.secsTo(start) > kDay || now.secsTo(end) > kDay))
        return Fail(why, QStringLiteral("in the future"));
    return true;
}
