#include "cli/clicommands.h"

#include "billing/calloverage.h"
#include "billing/cycleusage.h"
#include "billing/dataplan.h"
#include "billing/logbackreader.h"
#include "billing/logreader.h"
#include "billing/reportformat.h"
#include "billing/reportrow.h"
#include "billing/statisticstable.h"
#include "billing/summarytext.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "billing/usagestatistics.h"
#include "common/apppaths.h"
#include "common/clock.h"
#include "common/settingsstore.h"

#include <QIODevice>
#include <QList>

#include <cstring>

namespace {

QString LogPath(const CCliArgs& args, const CSettingsStore& store)
{
    return args.logPath.isEmpty() ? CAppPaths::LogFile(store) : args.logPath;
}

// A log named on the command line must be there; the configured one may be missing
// (no call logged yet) and then reads as empty. Neither may be a pipe, a device or a
// folder, which would never end or never give anything.
bool CheckLog(const CCliArgs& args, const CSettingsStore& store, QIODevice& err)
{
    const QString path = LogPath(args, store);
    const CLogReader::Problem problem = CLogReader::Check(path);
    if (problem == CLogReader::Problem::None ||
        (args.logPath.isEmpty() && problem != CLogReader::Problem::NotRegularFile))
        return true;
    err.write("orvalis-cli: " + CLogReader::ProblemText(path, problem).toUtf8() + "\n");
    return false;
}

bool Write(QIODevice& out, const QByteArray& data)
{
    return out.write(data) == data.size();
}

} // namespace

int CCliCommands::Run(const CCliArgs& args, const CSettingsStore& store, QIODevice& out,
                      QIODevice& err)
{
    bool written = true;
    switch (args.command) {
    case CCliArgs::Command::Help:
        written = Write(out, CCliArgs::Usage().toUtf8());
        break;
    case CCliArgs::Command::Version:
        written = Write(out, QByteArrayLiteral("orvalis-cli " ORVALIS_VERSION "\n"));
        break;
    case CCliArgs::Command::Summary:
        if (!CheckLog(args, store, err))
            return 1;
        written = Summary(args, store, out);
        break;
    case CCliArgs::Command::Report:
        if (!CheckLog(args, store, err))
            return 1;
        written = Report(args, store, out);
        break;
    case CCliArgs::Command::Price:
        written = Price(args, store, out);
        break;
    case CCliArgs::Command::Usage:
        if (!CheckLog(args, store, err))
            return 1;
        return Usage(args, store, out, err);
    case CCliArgs::Command::Daily:
    case CCliArgs::Command::Monthly:
        if (!CheckLog(args, store, err))
            return 1;
        written = Statistics(args, store, out);
        break;
    }
    if (!written) {
        err.write("orvalis-cli: cannot write the output\n");
        return 1;
    }
    return 0;
}

QByteArray CCliCommands::JoinRow(const QStringList& columns, bool csv)
{
    QByteArray row;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (i > 0)
            row += csv ? ',' : '\t';
        QByteArray field = columns.at(i).toUtf8();
        if (csv) {
            if (field.contains(',') || field.contains('"') || field.contains('\r') ||
                field.contains('\n')) {
                field.replace("\"", "\"\"");
                field = '"' + field + '"';
            }
        } else {
            field.replace('\t', ' ').replace('\r', ' ').replace('\n', ' ');
        }
        row += field;
    }
    row += csv ? "\r\n" : "\n";
    return row;
}

QByteArray CCliCommands::JsonString(const QString& text)
{
    QByteArray json = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            json += '\\';
        if (static_cast<unsigned char>(c) < 0x20)
            json += QByteArray("\\u00") + QByteArray::number(int(c), 16).rightJustified(2, '0');
        else
            json += c;
    }
    return json + '"';
}

QByteArray CCliCommands::JsonRow(const QStringList& columns)
{
    // The names of the ten columns; the counts and the price are numbers.
    static const char* const kNames[CReportRow::kColumnCount] = {
        "date",   "start", "end",      "duration",   "user",
        "device", "isp",   "uploaded", "downloaded", "price"};
    QByteArray row = "{";
    for (int i = 0; i < CReportRow::kColumnCount && i < columns.size(); ++i) {
        if (i > 0)
            row += ',';
        row += QByteArray("\"") + kNames[i] + "\":";
        row += i >= 7 ? columns.at(i).toUtf8() : JsonString(columns.at(i));
    }
    return row + '}';
}

bool CCliCommands::Summary(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const int filter = args.filter ? *args.filter : store.Read(Keys::SummaryWhen);
    const CTotals totals = CTotals::Compute(store, filter, LogPath(args, store));
    if (args.json) {
        const QList<CSummaryText::Line> lines = CSummaryText::Lines(totals);
        // The texts of the summary, the counts and money as numbers, the times as text.
        static const char* const kNames[CSummaryText::kLineCount] = {
            "connections",  "total_time", "total_cost", "average_cost",
            "average_time", "uploaded",   "downloaded", "transmitted"};
        QByteArray json = "{";
        for (int i = 0; i < CSummaryText::kLineCount; ++i) {
            const bool text = i == 1 || i == 4;
            json += QByteArray(i > 0 ? ",\"" : "\"") + kNames[i] +
                    "\":" + (text ? JsonString(lines.at(i).value) : lines.at(i).value.toUtf8());
        }
        json += ",\"total_seconds\":" + QByteArray::number(totals.totalTime) + "}\n";
        return Write(out, json);
    }
    QByteArray text;
    for (const CSummaryText::Line& line : CSummaryText::Lines(totals))
        text += line.label.toUtf8() + ": " + line.value.toUtf8() + '\n';
    return Write(out, text);
}

bool CCliCommands::Report(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const CTariff tariff = CTariff::Load(store);
    const CDataPlan plan = CDataPlan::Load(store);
    const QString path = LogPath(args, store);
    // Under a data plan a call's price depends on the calls of its cycle before it: a first
    // pass works that out.
    CCallOverage overage(plan);
    qsizetype index = 0;
    if (plan.Active()) {
        CLogReader reader;
        if (reader.Open(path)) {
            CLogRecord record;
            for (; reader.Next(record); ++index)
                overage.Add(record);
        }
        overage.Finish();
    }

    // The rows go out newest first as the log is read from its end, through one buffer
    // that is written whenever it fills.
    constexpr qsizetype kFlushAt = qsizetype(256) << 10;
    QByteArray buffer(kFlushAt + CReportFormat::MaxRowSize(CLogReader::kMaxLineLength),
                      Qt::Uninitialized);
    char* const begin = buffer.data();
    char* end = begin;
    const auto put = [&end](QByteArrayView bytes) {
        if (bytes.isEmpty())
            return;
        std::memcpy(end, bytes.data(), size_t(bytes.size()));
        end += bytes.size();
    };
    const auto flush = [&] {
        const bool written = out.write(begin, end - begin) == end - begin;
        end = begin;
        return written;
    };
    const CReportFormat::Form form = args.json  ? CReportFormat::Form::Json
                                     : args.csv ? CReportFormat::Form::Csv
                                                : CReportFormat::Form::Text;
    CReportFormat format(tariff, form);
    // JSON: one array, newest first, one record per line.
    put(args.json ? QByteArray("[") : JoinRow(CReportRow::Headings(), args.csv));
    CLogBackReader reader;
    bool any = false;
    if (reader.Open(path)) {
        CLogRecord record;
        while (reader.Next(record)) {
            if (args.json)
                put(any ? ",\n" : "\n");
            any = true;
            end = format.Write(record, plan.OverageCost(overage.OverageBytes(--index)), end);
            if (end - begin >= kFlushAt && !flush())
                return false;
        }
    }
    if (args.json)
        put(any ? "\n]\n" : "]\n");
    return flush();
}

bool CCliCommands::Price(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const CTariff tariff = CTariff::Load(store);
    const CTariff::CallPrice call =
        tariff.PriceCall(args.day, args.month, args.year, args.startSecs,
                         CTariff::RawDuration(args.startSecs, args.endSecs));
    const QByteArray line = QByteArray::number(call.chargedDuration) +
                            (call.cheap ? " cheap " : " normal ") +
                            CTariff::PriceText(call.price).toUtf8() + '\n';
    return Write(out, line);
}

int CCliCommands::Usage(const CCliArgs& args, const CSettingsStore& store, QIODevice& out,
                        QIODevice& err)
{
    const CDataPlan plan = CDataPlan::Load(store);
    if (!plan.Active()) {
        err.write("orvalis-cli: no data plan is set (Preferences, Data plan: Allowance)\n");
        return 2;
    }
    const QDate day = args.date.isValid() ? args.date : CClock::Now().date();
    const CCycleUsage usage =
        CCycleUsage::Pass(LogPath(args, store), plan, CTariff::Load(store), day);
    QByteArray text;
    if (args.json) {
        text = usage.ToJson() + '\n';
    } else {
        const auto date = [](QDate d) { return d.toString(Qt::ISODate).toUtf8(); };
        const auto line = [&text](const char* label, const QByteArray& value) {
            text += QByteArray(label) + ": " + value + '\n';
        };
        line("Cycle", date(usage.cycle.Start()) + " to " + date(usage.cycle.End()));
        line("Days left",
             QByteArray::number(usage.daysLeft) + " of " + QByteArray::number(usage.daysTotal));
        line("Received", QByteArray::number(usage.received));
        line("Sent", QByteArray::number(usage.sent));
        line("Counted", QByteArray::number(usage.counted) + " (" +
                            CCycleUsage::GBText(usage.counted).toUtf8() + ")");
        line("Allowance", QByteArray::number(usage.allowance) + " (" +
                              CCycleUsage::GBText(usage.allowance).toUtf8() + ")");
        line("Used", CTariff::FixedText(usage.percent, 1).toUtf8() + " %");
        line("Projected", QByteArray::number(usage.projected) + " (" +
                              CCycleUsage::GBText(usage.projected).toUtf8() + ")");
        line("Daily budget", QByteArray::number(usage.dailyQuota) + " (" +
                                 CCycleUsage::GBText(usage.dailyQuota).toUtf8() + ")");
        line("Cost", CTariff::PriceText(usage.cost).toUtf8());
        line("Projected cost", CTariff::PriceText(usage.projectedCost).toUtf8());
    }
    if (!Write(out, text)) {
        err.write("orvalis-cli: cannot write the output\n");
        return 1;
    }
    return args.over && usage.percent >= *args.over ? 1 : 0;
}

bool CCliCommands::Statistics(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const bool daily = args.command == CCliArgs::Command::Daily;
    const CUsageStatistics::Range range = args.range.value_or(
        daily ? CUsageStatistics::Range::ThisCycle : CUsageStatistics::Range::LastTwelveCycles);
    const QDate day = args.date.isValid() ? args.date : CClock::Now().date();
    const CUsageStatistics stats = CUsageStatistics::Pass(
        LogPath(args, store), CDataPlan::Load(store), CTariff::Load(store), range, day);
    const CStatisticsTable::Format format = args.csv    ? CStatisticsTable::Format::Csv
                                            : args.json ? CStatisticsTable::Format::Json
                                                        : CStatisticsTable::Format::Text;
    return Write(out, daily ? CStatisticsTable::Days(stats.days, format)
                            : CStatisticsTable::Cycles(stats.cycles, format));
}
