#include "cli/cliargs.h"

#include <QDate>
#include <QRegularExpression>

namespace {

// Splits "--name=value"; without "=" the value comes from the next argument.
bool TakeValue(const QStringList& args, qsizetype& i, const QString& name, QString& value,
               QString& error)
{
    const QString& arg = args.at(i);
    if (arg.startsWith(name + u'=')) {
        value = arg.mid(name.size() + 1);
    } else if (i + 1 < args.size()) {
        value = args.at(++i);
    } else {
        error = QStringLiteral("option %1 needs a value").arg(name);
        return false;
    }
    if (value.isEmpty()) {
        error = QStringLiteral("option %1 needs a value").arg(name);
        return false;
    }
    return true;
}

bool IsOption(const QString& arg, const QString& name)
{
    return arg == name || arg.startsWith(name + u'=');
}

// The value of --log, which may be given once.
bool TakeLog(const QStringList& args, qsizetype& i, CCliArgs& out, QString& error)
{
    if (!out.logPath.isEmpty()) {
        error = QStringLiteral("option --log given twice");
        return false;
    }
    return TakeValue(args, i, QStringLiteral("--log"), out.logPath, error);
}

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

bool ParseSummary(const QStringList& args, CCliArgs& out, QString& error)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        QString value;
        if (IsOption(arg, QStringLiteral("--filter"))) {
            if (out.filter) {
                error = QStringLiteral("option --filter given twice");
                return false;
            }
            if (!TakeValue(args, i, QStringLiteral("--filter"), value, error))
                return false;
            if (value == u"all")
                out.filter = 0;
            else if (value == u"month")
                out.filter = 1;
            else if (value == u"today")
                out.filter = 2;
            else {
                error = QStringLiteral("unknown filter '%1' (use all, month or today)").arg(value);
                return false;
            }
        } else if (IsOption(arg, QStringLiteral("--log"))) {
            if (!TakeLog(args, i, out, error))
                return false;
        } else {
            error = QStringLiteral("unexpected argument '%1' for summary").arg(arg);
            return false;
        }
    }
    return true;
}

bool ParseReport(const QStringList& args, CCliArgs& out, QString& error)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == u"--csv") {
            out.csv = true;
        } else if (IsOption(arg, QStringLiteral("--log"))) {
            if (!TakeLog(args, i, out, error))
                return false;
        } else {
            error = QStringLiteral("unexpected argument '%1' for report").arg(arg);
            return false;
        }
    }
    return true;
}

bool ParsePrice(const QStringList& args, CCliArgs& out, QString& error)
{
    if (args.size() != 4) {
        error = QStringLiteral("price needs DD-MM-YYYY HH:MM:SS HH:MM:SS");
        return false;
    }
    if (!ParseDate(args.at(1), out)) {
        error = QStringLiteral("'%1' is no date DD-MM-YYYY").arg(args.at(1));
        return false;
    }
    const std::optional<int> start = ParseTime(args.at(2));
    const std::optional<int> end = ParseTime(args.at(3));
    if (!start || !end) {
        error = QStringLiteral("'%1' is no time of day HH:MM:SS").arg(args.at(start ? 3 : 2));
        return false;
    }
    out.startSecs = *start;
    out.endSecs = *end;
    return true;
}

} // namespace

std::optional<CCliArgs> CCliArgs::Parse(const QStringList& args, QString& error)
{
    CCliArgs out;
    if (args.isEmpty()) {
        error = QStringLiteral("no command given");
        return std::nullopt;
    }
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h")))
        return out;

    const QString& command = args.first();
    bool ok = false;
    if (command == u"summary") {
        out.command = Command::Summary;
        ok = ParseSummary(args, out, error);
    } else if (command == u"report") {
        out.command = Command::Report;
        ok = ParseReport(args, out, error);
    } else if (command == u"price") {
        out.command = Command::Price;
        ok = ParsePrice(args, out, error);
    } else {
        error = QStringLiteral("unknown command '%1'").arg(command);
    }
    if (!ok)
        return std::nullopt;
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
        "  summary [--filter all|month|today] [--log FILE]\n"
        "      The eight summary values, one 'Label: value' line each. Without --filter\n"
        "      the period last chosen in the summary window is used.\n"
        "  report [--csv] [--log FILE]\n"
        "      Every call, newest first: a heading line, then one line per call,\n"
        "      tab-separated (--csv: comma-separated values, RFC 4180).\n"
        "  price DD-MM-YYYY HH:MM:SS HH:MM:SS\n"
        "      The charged seconds, 'cheap' or 'normal' and the price of a call on that\n"
        "      date from the first time of day to the second.\n"
        "\n"
        "Options:\n"
        "  --log FILE   read this log instead of the configured one\n"
        "  -h, --help   show this text\n"
        "\n"
        "Exit status: 0 on success, 1 when a file cannot be read or the output cannot be\n"
        "written, 2 for a bad command line.\n");
}
