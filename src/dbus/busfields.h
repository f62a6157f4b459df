#pragma once

#include <QString>
#include <QVariantMap>

class CTariff;
struct CCallStatus;
struct CCycleUsage;

// The dictionaries (a{sv}) the bus interface hands out, built from what the rest of the
// program already reports: the status line of `orvalis --status`, the usage of
// `orvalis-cli usage --json` and the log's record of a call.
class CBusFields {
public:
    // The fields of --status, plus "cost": the tariff's price of the call so far.
    static QVariantMap Status(const CCallStatus& status, double cost);
    // The price of the call in `status` so far; 0 without a call.
    static double CallCost(const CTariff& tariff, const CCallStatus& status);
    // The fields of the usage as `orvalis-cli usage --json` writes them.
    static QVariantMap Usage(const CCycleUsage& usage);
    // A call as it starts: entry, device and start.
    static QVariantMap CallStart(const CCallStatus& status);
    // A log line (see CLogFile::FormatRecord) as fields: start and end (ISO date and time),
    // user, device, entry, sent, received, and the line itself.
    static QVariantMap Record(const QString& line);
};
