#include "dialer/backends/simulator/simulatorscript.h"

#include "common/clock.h"
#include "dialer/backends/simulator/simremoteaccess.h"

#include <QDateTime>
#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int kMaxCount = 1000000;
constexpr int kMaxCode = 999999;
constexpr int kMaxRate = 1000000000;

// A whole non-negative decimal number no larger than limit, or -1.
int ParseCount(const QString& text, int limit)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch())
        return -1;
    const int value = text.toInt();
    return value <= limit ? value : -1;
}

QString Unquoted(const QString& text)
{
    const QString t = text.trimmed();
    if (t.size() >= 2 &&
        ((t.startsWith(u'"') && t.endsWith(u'"')) || (t.startsWith(u'\'') && t.endsWith(u'\''))))
        return t.mid(1, t.size() - 2).trimmed();
    return t;
}

QString CodeText(int code)
{
    QString text;
    if (CRemoteAccess::StandardErrorString(code, text))
        return QStringLiteral("%1 (%2)").arg(code).arg(text);
    return QString::number(code);
}

QString Duration(qint64 msecs)
{
    const qint64 secs = std::max<qint64>(0, msecs / 1000);
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600, 2, 10, QLatin1Char('0'))
        .arg(secs / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(secs % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

CSimulatorScript::CSimulatorScript(const QString& simulatorFile)
    : m_file(simulatorFile)
{}

QString CSimulatorScript::Usage()
{
    return QStringLiteral(
        "Simulator commands:\n"
        "  connect ENTRY   a connection of ENTRY comes up, as if dialled elsewhere\n"
        "  drop            the connection goes down, as if the remote side hung up\n"
        "  busy N          the next N dials find the line busy\n"
        "  fail CODE       every dial fails with error CODE (0: dials work again)\n"
        "  ok              dials work again: no busy line, no failure\n"
        "  entries A|B|C   the phonebook entries\n"
        "  rate IN OUT     bytes per second received and sent\n"
        "  status          describes the simulator's state");
}

bool CSimulatorScript::Run(const QString& command, QString& message)
{
    message.clear();
    const QString line = command.trimmed();
    const qsizetype space = line.indexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString word = (space < 0 ? line : line.left(space)).toLower();
    const QString argument = space < 0 ? QString() : line.mid(space + 1).trimmed();

    const auto noArgument = [&]() {
        if (argument.isEmpty())
            return true;
        message = QStringLiteral("\"%1\" takes no argument.").arg(word);
        return false;
    };

    if (word.isEmpty()) {
        message = QStringLiteral("No simulator command given.\n") + Usage();
        return false;
    }
    if (!m_file.EnsureExists()) {
        message = QStringLiteral("Cannot create the simulator file %1.").arg(m_file.Path());
        return false;
    }
    if (word == u"connect")
        return Connect(argument, message);
    if (word == u"drop")
        return noArgument() && Drop(message);
    if (word == u"busy")
        return Busy(argument, message);
    if (word == u"fail")
        return Fail(argument, message);
    if (word == u"ok")
        return noArgument() && Ok(message);
    if (word == u"entries")
        return Entries(argument, message);
    if (word == u"rate")
        return Rate(argument, message);
    if (word == u"status") {
        if (!noArgument())
            return false;
        message = Status();
        return true;
    }
    message = QStringLiteral("Unknown simulator command \"%1\".\n").arg(word) + Usage();
    return false;
}

bool CSimulatorScript::Connect(const QString& argument, QString& message)
{
    const QString entry = Unquoted(argument);
    if (entry.isEmpty()) {
        message = QStringLiteral("\"connect\" needs the entry name, e.g. connect Home ISP");
        return false;
    }
    if (entry.contains(u'\n') || entry.contains(u'\r')) {
        message = QStringLiteral("An entry name is one line.");
        return false;
    }
    const QString up = m_file.ConnectedEntry();
    if (!up.isEmpty()) {
        if (up == entry) {
            message = QStringLiteral("%1 is already connected.").arg(entry);
            return true;
        }
        message = QStringLiteral("%1 is connected; there is one line. Use \"drop\" first.").arg(up);
        return false;
    }
    if (!m_file.StartLine(entry, CClock::NowMsecs(), 0))
        return WriteFailed(message);
    message = QStringLiteral("%1 is connected.").arg(entry);
    if (!m_file.Entries().contains(entry, Qt::CaseInsensitive))
        message += QStringLiteral(" (It is not in the simulator's phonebook.)");
    return true;
}

bool CSimulatorScript::Drop(QString& message)
{
    const QString up = m_file.ConnectedEntry();
    if (up.isEmpty()) {
        message = QStringLiteral("No connection is up; nothing to drop.");
        return true;
    }
    if (!m_file.ClearLine())
        return WriteFailed(message);
    message = QStringLiteral("%1 was dropped by the remote side.").arg(up);
    return true;
}

bool CSimulatorScript::Busy(const QString& argument, QString& message)
{
    const int times = argument.isEmpty() ? 1 : ParseCount(argument, kMaxCount);
    if (times < 0) {
        message = QStringLiteral("\"busy\" needs a count from 0 to %1, e.g. busy 2, not \"%2\".")
                      .arg(kMaxCount)
                      .arg(argument);
        return false;
    }
    if (!m_file.SetBusyTimes(times))
        return WriteFailed(message);
    message = times == 1 ? QStringLiteral("The next dial finds the line busy.")
                         : QStringLiteral("The next %1 dials find the line busy.").arg(times);
    return true;
}

bool CSimulatorScript::Fail(const QString& argument, QString& message)
{
    const int code = ParseCount(argument, kMaxCode);
    if (code < 0) {
        message = QStringLiteral("\"fail\" needs an error code, e.g. fail 678, not \"%1\".")
                      .arg(argument);
        return false;
    }
    if (!m_file.SetFailCode(code))
        return WriteFailed(message);
    message = code == 0 ? QStringLiteral("Dials no longer fail.")
                        : QStringLiteral("Every dial now fails with error %1.").arg(CodeText(code));
    return true;
}

bool CSimulatorScript::Ok(QString& message)
{
    const bool ok = m_file.SetBusyTimes(0);
    if (!m_file.SetFailCode(0) || !ok)
        return WriteFailed(message);
    message = QStringLiteral("Dials work again.");
    return true;
}

bool CSimulatorScript::Entries(const QString& argument, QString& message)
{
    const QStringList entries = CSimulatorFile::ParseEntries(Unquoted(argument));
    if (entries.isEmpty()) {
        message = QStringLiteral("\"entries\" needs the entry names, e.g. entries Home ISP|Work");
        return false;
    }
    if (!m_file.SetEntries(entries))
        return WriteFailed(message);
    message = QStringLiteral("Phonebook: %1").arg(entries.join(QStringLiteral(", ")));
    return true;
}

bool CSimulatorScript::Rate(const QString& argument, QString& message)
{
    const QStringList parts =
        argument.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const int in = parts.size() == 2 ? ParseCount(parts[0], kMaxRate) : -1;
    const int out = parts.size() == 2 ? ParseCount(parts[1], kMaxRate) : -1;
    if (in < 0 || out < 0) {
        message = QStringLiteral("\"rate\" needs two byte rates (received, sent) from 0 to %1, "
                                 "e.g. rate 4000 800")
                      .arg(kMaxRate);
        return false;
    }
    if (!m_file.SetRates(in, out, CClock::NowMsecs()))
        return WriteFailed(message);
    message = QStringLiteral("Receiving %1 and sending %2 bytes per second.").arg(in).arg(out);
    return true;
}

QString CSimulatorScript::Status() const
{
    QStringList lines;
    const qint64 now = CClock::NowMsecs();
    const QString up = m_file.ConnectedEntry();
    if (up.isEmpty()) {
        lines << QStringLiteral("Line: no connection");
    } else {
        const qint64 since = m_file.Since();
        QString line = QStringLiteral("Line: %1 connected").arg(up);
        if (since > 0) {
            line += QStringLiteral(" since %1 (%2)")
                        .arg(QDateTime::fromMSecsSinceEpoch(since).toString(
                                 QStringLiteral("dd-MM-yyyy HH:mm:ss")),
                             Duration(now - since));
        }
        lines << line + QStringLiteral(" on %1, %2").arg(m_file.Device(), m_file.Interface());
        quint64 received = 0;
        quint64 sent = 0;
        m_file.Counters(now, received, sent);
        lines << QStringLiteral("Bytes: %1 received, %2 sent").arg(received).arg(sent);
    }
    lines << QStringLiteral("Rates: %1 bytes/s received, %2 bytes/s sent")
                 .arg(m_file.RateIn())
                 .arg(m_file.RateOut());
    lines << QStringLiteral("Phonebook: %1").arg(m_file.Entries().join(QStringLiteral(", ")));
    QString dial = QStringLiteral("Dial: steps of %1 ms").arg(m_file.StepMs());
    const int busy = m_file.BusyTimes();
    if (busy > 0)
        dial += QStringLiteral(", busy for the next %1 dial(s)").arg(busy);
    const int fail = m_file.FailCode();
    if (fail > 0)
        dial += QStringLiteral(", failing with error %1").arg(CodeText(fail));
    if (busy > 0 || fail > 0) {
        const int at = m_file.FailAt();
        dial += at <= 0
                    ? QStringLiteral(" at the start")
                    : QStringLiteral(" at step %1").arg(std::min(at, CSimRemoteAccess::kStepCount));
    }
    lines << dial;
    lines << QStringLiteral("File: %1").arg(m_file.Path());
    return lines.join(u'\n');
}

bool CSimulatorScript::WriteFailed(QString& message) const
{
    message = QStringLiteral("Cannot write the simulator file %1.").arg(m_file.Path());
    return false;
}
