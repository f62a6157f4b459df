#include "cli/clicommands.h"

#include "billing/logreader.h"
#include "billing/reportrow.h"
#include "billing/summarytext.h"
#include "billing/tariff.h"
#include "billing/totals.h"
#include "common/apppaths.h"
#include "common/settingsstore.h"

#include <QIODevice>
#include <QList>

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

bool CCliCommands::Summary(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const int filter = args.filter ? *args.filter : store.Read(Keys::SummaryWhen);
    const CTotals totals = CTotals::Compute(store, filter, LogPath(args, store));
    QByteArray text;
    for (const CSummaryText::Line& line : CSummaryText::Lines(totals))
        text += line.label.toUtf8() + ": " + line.value.toUtf8() + '\n';
    return Write(out, text);
}

bool CCliCommands::Report(const CCliArgs& args, const CSettingsStore& store, QIODevice& out)
{
    const CTariff tariff = CTariff::Load(store);
    // Rows are kept in one buffer in file order and written newest first.
    QByteArray rows;
    QList<qsizetype> starts;
    CLogReader::ReadAll(LogPath(args, store), [&](const CLogRecord& record) {
        starts.append(rows.size());
        rows += JoinRow(CReportRow::Columns(record, tariff), args.csv);
    });
    if (!Write(out, JoinRow(CReportRow::Headings(), args.csv)))
        return false;
    qsizetype end = rows.size();
    for (qsizetype i = starts.size() - 1; i >= 0; --i) {
        const qsizetype begin = starts.at(i);
        if (out.write(rows.constData() + begin, end - begin) != end - begin)
            return false;
        end = begin;
    }
    return true;
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
