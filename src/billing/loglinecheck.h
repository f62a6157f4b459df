#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// Whether a line is a record the log can take as it stands: a line kept outside the log
// (in the call journal) may have been cut short or damaged, and a damaged line in the log
// is read and priced as whatever its fields happen to say.
//
// A sound line has the nine fields CLogFile::FormatRecord writes, read by the log's own
// parser: two dates and two times of day in their written form (dd-mm-yyyy, hh:mm:ss)
// that are real calendar dates and times, years from kFirstYear to kLastYear, two counts
// CByteCount reads, an end not before the start and less than a day after it (the log
// keeps a call's length as a time of day, so one end before the start would read as a
// call past midnight), and no moment later than a day after now.
class CLogLineCheck {
public:
    static constexpr int kFirstYear = 1970;
    static constexpr int kLastYear = 2199;

    // True when the line (with or without its line feed) is sound; otherwise `why` says
    // what is wrong with it.
    static bool IsSound(QByteArrayView line, const QDateTime& now, QString* why = nullptr);
    // True when the moment lies in the years a record may have.
    static bool IsSaneMoment(const QDateTime& moment);
};
