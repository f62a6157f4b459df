#pragma once

#include "billing/logrecord.h"

#include <QLocale>
#include <QStringList>

class CTariff;

// The ten columns of one report row: how a log record is shown in the report window and
// printed by the command-line tool.
class CReportRow {
public:
    static constexpr int kColumnCount = 10;

    // How the "Date" column shows the start date.
    enum class DateForm {
        Stored,     // token 1 exactly as in the log (dd-mm-yyyy)
        LocaleShort // day, month and year in the locale's short date format
    };

    // "Date", "Start time", "End time", "Duration", "User", "Device", "ISP", "Uploaded",
    // "Downloaded", "Price".
    static QStringList Headings();

    // The column texts of a record priced under the tariff, plus the price of its bytes
    // past a data plan's allowance. Texts from the log are read as UTF-8; a byte count that
    // is a whole number is shown as CByteCount reads it (an old wrapped count corrected),
    // any other text as it stands. With DateForm::LocaleShort a date that is no calendar
    // date is shown as stored.
    static QStringList Columns(const CLogRecord& record, const CTariff& tariff,
                               double overageCost = 0.0, DateForm dateForm = DateForm::Stored,
                               const QLocale& locale = QLocale());
};
