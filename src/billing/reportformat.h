#pragma once

#include "billing/logrecord.h"
#include "billing/tariff.h"

#include <QtGlobal>

// Report rows written straight from a record's fields, as the command-line tool prints
// them: the bytes of CCliCommands::JoinRow or JsonRow over CReportRow::Columns, without a
// string per column. Text from the log that is not plain ASCII takes the way through
// UTF-8 decoding as there, so it comes out alike.
class CReportFormat {
public:
    enum class Form {
        Text, // tab-separated, tabs and line breaks in a text as blanks, LF
        Csv,  // RFC 4180, quoted where needed, CR LF
        Json  // one object, no line break
    };

    CReportFormat(const CTariff& tariff, Form form);

    // The most bytes Write puts down for a record whose line has lineSize bytes: a text
    // grows at most sixfold (a control character in JSON), a count or the price is short.
    static qsizetype MaxRowSize(qsizetype lineSize) { return 6 * lineSize + 1024; }

    // Writes the row of the record priced under the tariff, plus overageCost, at out;
    // returns the end of what was written.
    char* Write(const CLogRecord& record, double overageCost, char* out);

private:
    char* Text(QByteArrayView field, char* out) const;
    char* Count(QByteArrayView field, char* out) const;

    CTariff m_tariff;
    Form m_form;
    // The log is in date order: the weekday of the last date is kept.
    int m_day = 0;
    int m_month = 0;
    int m_year = 0;
    unsigned m_weekday = 0;
};
