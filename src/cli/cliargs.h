#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The command line of orvalis-cli, checked but not yet acted on.
struct CCliArgs {
    enum class Command { Help, Version, Summary, Report, Price, Usage };

    Command command = Command::Help;
    std::optional<int> filter;  // summary: the period filter; none means the stored one
    QString logPath;            // summary, report: the log to read; empty means the configured one
    bool csv = false;           // report
    bool json = false;          // summary, report, usage
    QDate date;                 // usage: the day whose billing cycle is shown; invalid: today
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
