#pragma once

#include "cli/cliargs.h"

#include <QByteArray>

class CSettingsStore;
class QIODevice;

// The commands of orvalis-cli. They read the settings and the log and write their lines
// to out; nothing is ever written to the settings.
class CCliCommands {
public:
    // Runs the parsed command; returns the exit code. Error texts go to err.
    static int Run(const CCliArgs& args, const CSettingsStore& store, QIODevice& out,
                   QIODevice& err);

    // One report line of ten columns, line break included: tab-separated (tabs and line
    // breaks inside a text become blanks) or RFC 4180 CSV (quoted where needed, CR LF).
    static QByteArray JoinRow(const QStringList& columns, bool csv);
    // One report row as a JSON object, the byte counts and the price as numbers.
    static QByteArray JsonRow(const QStringList& columns);
    // A text as a JSON string, quotes included.
    static QByteArray JsonString(const QString& text);

private:
    // Each returns false when the output could not be written.
    static bool Summary(const CCliArgs& args, const CSettingsStore& store, QIODevice& out);
    static bool Report(const CCliArgs& args, const CSettingsStore& store, QIODevice& out);
    static bool Price(const CCliArgs& args, const CSettingsStore& store, QIODevice& out);
    // Returns the exit code itself: 1 when --over is reached, 2 without a data plan.
    static int Usage(const CCliArgs& args, const CSettingsStore& store, QIODevice& out,
                     QIODevice& err);
    // daily and monthly: the figures per day or per cycle of the chosen range.
    static bool Statistics(const CCliArgs& args, const CSettingsStore& store, QIODevice& out);
};
