#include "cli/cliargs.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>
#include <QRegularExpression>

namespace {

bool ParseDate(const QString& text, CCliArgs& out)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d)-(\\d\\d)-(\\d\\d\\d\\d)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return false;
    out.day = match.captured(1).toInt();
    out.month = match.captured(2).toInt();
    out.year = match.captured(3).toInt();
    return QDate(out.year, out.month, out.day).isValid();
}

std::optional<int> ParseTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int h = match.captured(1).toInt();
    const int m = match.captured(2).toInt();
    const int s = match.captured(3).toInt();
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

bool ParseFilter(const QString& value, CCliArgs& out, QString& error)
{
    if (value == u"all")
        out.filter = 0;
    else if (value == u"month")
        out.filter = 1;
    else if (value == u"today")
        out.filter = 2;
    else
        error = QStringLiteral("unknown filter '%1' (use all, month or today)").arg(value);
    return out.filter.has_value();
}

bool ParsePrice(const QStringList& words, CCliArgs& out, QString& error)
{
    if (words.size() != 4) {
        error = QStringLiteral("price needs DD-MM-YYYY HH:MM:SS HH:MM:SS");
        return false;
    }
    if (!ParseDate(words.at(1), out)) {
        error = QStringLiteral("'%1' is no date DD-MM-YYYY").arg(words.at(1));
        return false;
    }
    const std::optional<int> start = ParseTime(words.at(2));
    const std::optional<int> end = ParseTime(words.at(3));
    if (!start || !end) {
        error = QStringLiteral("'%1' is no time of day HH:MM:SS").arg(words.at(start ? 3 : 2));
        return false;
    }
    out.startSecs = *start;
    out.endSecs = *end;
    return true;
}

// The options and the commands they belong to.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this text.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the version.")};
    QCommandLineOption filter{QStringLiteral("filter"), QStringLiteral("The period (summary)."),
                              QStringLiteral("all|month|today")};
    QCommandLineOption log{QStringLiteral("log"), QStringLiteral("The log to read."),
                           QStringLiteral("FILE")};
    QCommandLineOption csv{QStringLiteral("csv"), QStringLiteral("CSV output.")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("JSON output.")};
    QCommandLineOption date{QStringLiteral("date"), QStringLiteral("The day (usage)."),
                            QStringLiteral("YYYY-MM-DD")};
    QCommandLineOption range{QStringLiteral("range"),
                             QStringLiteral("The cycles (daily, monthly)."),
                             QStringLiteral("this|last|12|all")};
    QCommandLineOption over{QStringLiteral("over"),
                            QStringLiteral("Exit 1 at this percentage (usage)."),
                            QStringLiteral("PERCENT")};
};

// An option given to a command it does not belong to, or given twice; empty when none.
QString Misplaced(const QCommandLineParser& parser, const Options& options, const QString& command)
{
    const auto given = [&](const QCommandLineOption& option) { return parser.isSet(option); };
    const bool summary = command == u"summary";
    const bool report = command == u"report";
    const bool usage = command == u"usage";
    const bool statistics = command == u"daily" || command == u"monthly";
    const QString name = QStringLiteral("--%1");
    if (given(options.filter) && !summary)
        return QStringLiteral("option --filter is only for summary");
    if (given(options.csv) && !report && !statistics)
        return QStringLiteral("option --csv is only for report, daily and monthly");
    if (given(options.csv) && given(options.json))
        return QStringLiteral("options --csv and --json cannot be given together");
    if (given(options.log) && !summary && !report && !usage && !statistics)
        return QStringLiteral("option --log is not for price");
    if (given(options.json) && !summary && !report && !usage && !statistics)
        return QStringLiteral("option --json is not for price");
    if (given(options.over) && !usage)
        return QStringLiteral("option --over is only for usage");
    if (given(options.date) && !usage && !statistics)
        return QStringLiteral("option --date is only for usage, daily and monthly");
    if (given(options.range) && !statistics)
        return QStringLiteral("option --range is only for daily and monthly");
    for (const QCommandLineOption* option :
         {&options.filter, &options.log, &options.date, &options.over, &options.range}) {
        const QStringList values = parser.values(*option);
        const QString optionName = name.arg(option->names().constFirst());
        if (values.size() > 1)
            return QStringLiteral("option %1 given twice").arg(optionName);
        if (values.size() == 1 && values.first().isEmpty())
            return QStringLiteral("option %1 needs a value").arg(optionName);
    }
    return QString();
}

} // namespace

std::optional<CCliArgs> CCliArgs::Parse(const QStringList& args, QString& error)
{
    CCliArgs out;
    Options options;
    QCommandLineParser parser;
    parser.addOptions({options.help, options.version, options.filter, options.log, options.csv,
                       options.json, options.date, options.over, options.range});
    // The parser takes the program's name first.
    const bool parsed = parser.parse(QStringList{QStringLiteral("orvalis-cli")} + args);
    // Help is given whatever else the command line holds.
    if (parser.isSet(options.help))
        return out;
    if (!parsed) {
        // Qt's texts start with a capital and end with a full stop; ours do not.
        error = parser.errorText();
        if (error.endsWith(u'.'))
            error.chop(1);
        if (!error.isEmpty())
            error[0] = error[0].toLower();
        return std::nullopt;
    }
    if (parser.isSet(options.version)) {
        out.command = Command::Version;
        return out;
    }

    const QStringList words = parser.positionalArguments();
    if (words.isEmpty()) {
        error = QStringLiteral("no command given");
        return std::nullopt;
    }
    const QString& command = words.first();
    if (command == u"summary") {
        out.command = Command::Summary;
    } else if (command == u"report") {
        out.command = Command::Report;
    } else if (command == u"price") {
        out.command = Command::Price;
    } else if (command == u"usage") {
        out.command = Command::Usage;
    } else if (command == u"daily") {
        out.command = Command::Daily;
    } else if (command == u"monthly") {
        out.command = Command::Monthly;
    } else {
        error = QStringLiteral("unknown command '%1'").arg(command);
        return std::nullopt;
    }
    error = Misplaced(parser, options, command);
    if (!error.isEmpty())
        return std::nullopt;
    if (out.command == Command::Price)
        return ParsePrice(words, out, error) ? std::optional(out) : std::nullopt;
    if (words.size() > 1) {
        error = QStringLiteral("unexpected argument '%1' for %2").arg(words.at(1), command);
        return std::nullopt;
    }
    if (parser.isSet(options.filter) && !ParseFilter(parser.value(options.filter), out, error))
        return std::nullopt;
    out.logPath = parser.value(options.log);
    out.csv = parser.isSet(options.csv);
    out.json = parser.isSet(options.json);
    if (parser.isSet(options.date)) {
        out.date = QDate::fromString(parser.value(options.date), Qt::ISODate);
        if (!out.date.isValid() || parser.value(options.date).size() != 10) {
            error = QStringLiteral("'%1' is no date YYYY-MM-DD").arg(parser.value(options.date));
            return std::nullopt;
        }
    }
    if (parser.isSet(options.range)) {
        out.range = CUsageStatistics::RangeOfName(parser.value(options.range));
        if (!out.range) {
            error = QStringLiteral("unknown range '%1' (use this, last, 12 or all)")
                        .arg(parser.value(options.range));
            return std::nullopt;
        }
    }
    if (parser.isSet(options.over)) {
        bool ok = false;
        const double percent = parser.value(options.over).toDouble(&ok);
        if (!ok || !(percent >= 0.0) || percent > 1e6) {
            error = QStringLiteral("'%1' is no percentage").arg(parser.value(options.over));
            return std::nullopt;
        }
        out.over = percent;
    }
    return out;
}

QString CCliArgs::Usage()
{
    return QStringLiteral(
        "Usage: orvalis-cli COMMAND [OPTIONS]\n"
        "\n"
        "Shows the figures of the Orvalis connection log without a display. Reads the same\n"
        "settings (ov.ini) and log as the program and never changes them.\n"
        "\n"
        "Commands:\n"
        "  summary [--filter all|month|today] [--json] [--log FILE]\n"
        "      The eight summary values, one 'Label: value' line each (--json: one\n"
        "      object). Without --filter the period last chosen in the summary window\n"
        "      is used; 'month' is the billing cycle when it starts on another day\n"
        "      than the 1st.\n"
        "  report [--csv|--json] [--log FILE]\n"
        "      Every call, newest first: a heading line, then one line per call,\n"
        "      tab-separated (--csv: comma-separated values, RFC 4180; --json: one\n"
        "      array of records).\n"
        "  usage [--json] [--date YYYY-MM-DD] [--over PERCENT] [--log FILE]\n"
        "      The data plan's billing cycle that holds the day (default today): bytes\n"
        "      used, share of the allowance, projection, daily budget and cost.\n"
        "      --over: exit 1 when the share used is at least PERCENT, else 0.\n"
        "  daily [--csv|--json] [--range this|last|12|all] [--date YYYY-MM-DD] [--log FILE]\n"
        "      The figures per day: calls, bytes received, sent and counted against the\n"
        "      allowance, and cost. --range: the billing cycle that holds the day\n"
        "      (default today), the one before it, the last 12 cycles or the whole log;\n"
        "      the default is this cycle. A range of cycles lists every day of it; the\n"
        "      whole log only the days with calls.\n"
        "  monthly [--csv|--json] [--range this|last|12|all] [--date YYYY-MM-DD] [--log FILE]\n"
        "      The same per billing cycle, with the allowance; the default range is the\n"
        "      last 12 cycles. A cycle's cost has the month's free time taken off.\n"
        "  price DD-MM-YYYY HH:MM:SS HH:MM:SS\n"
        "      The charged seconds, 'cheap' or 'normal' and the price of a call on that\n"
        "      date from the first time of day to the second.\n"
        "\n"
        "Options:\n"
        "  --log FILE   read this log instead of the configured one\n"
        "  --json       JSON output (summary, report, usage, daily, monthly)\n"
        "  --csv        CSV output (report, daily, monthly)\n"
        "  --version    show the version\n"
        "  -h, --help   show this text\n"
        "\n"
        "Exit status: 0 on success, 1 when a file cannot be read or the output cannot be\n"
        "written (usage --over: when the share is reached), 2 for a bad command line\n"
        "(usage: also when no data plan is set).\n");
}
