#pragma once

#include "billing/usagestatistics.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of orvalis-cli, checked but not yet acted on.
struct CCliArgs {
    enum class Command { Help, Version, Summary, Report, Price, Usage, Daily, Monthly };

    Command command = Command::Help;
    std::optional<int> filter; // summary: the period filter; none means the stored one
    QString logPath;           // summary, report, usage, daily, monthly: the log to read;
                               // empty means the configured one
    bool csv = false;          // report, daily, monthly
    bool json = false;         // summary, report, usage, daily, monthly
    QDate date;                // usage, daily, monthly: the day whose billing cycle is "this
                               // cycle"; invalid: today
    // daily, monthly: the range of cycles; none means this cycle (daily) or the last 12
    // (monthly)
    std::optional<CUsageStatistics::Range> range;
    std::optional<double> over; // usage: exit 1 when the percentage used reaches this
    // price: the start date and the two times of day
    int day = 0;
    int month = 0;
    int year = 0;
    int startSecs = 0;
    int endSecs = 0;

    // Parses the arguments after the program name with QCommandLineParser; options may
    // stand before or after the command word. On a bad command line returns nothing and
    // sets error to a one-line explanation. Never ends the process.
    static std::optional<CCliArgs> Parse(const QStringList& args, QString& error);

    // The text of --help.
    static QString Usage();
};
