#include "monitor/calljournal.h"

#include "billing/bytecount.h"
#include "billing/logfile.h"
#include "billing/logreader.h"
#include "billing/logrecord.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <utility>

namespace {

// A journal larger than this is no journal of ours; it is left alone.
constexpr qint64 kMaxJournalSize = 16 * 1024 * 1024;
// How much of the log's end is looked at for a record written just before a crash.
constexpr qint64 kLogTail = 64 * 1024;

const char* const kMomentFormat = "yyyy-MM-dd HH:mm:ss";

QByteArray Moment(const QDateTime& moment)
{
    return moment.toString(QLatin1String(kMomentFormat)).toLatin1();
}

QDateTime ParseMoment(const QByteArray& text)
{
    return QDateTime::fromString(QString::fromLatin1(text), QLatin1String(kMomentFormat));
}

// Texts are stored percent-encoded, so no name can break a line of the journal.
QByteArray Text(const QString& text)
{
    return text.toUtf8().toPercentEncoding();
}

QString ParseText(const QByteArray& text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text));
}

} // namespace

QByteArray CCallJournal::KeyOf(QByteArrayView line)
{
    CLogRecord record;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (!CLogReader::ParseLine(line, record) || record.startDate.isEmpty())
        return {};
    return record.startDate.toByteArray() + '|' + record.startTime.toByteArray() + '|' +
           record.isp.toByteArray();
}

CCallJournal::CCallJournal(QString path)
    : m_path(std::move(path))
{}

CCallJournal::State CCallJournal::Load(QString* problem) const
{
    State state;
    QFile file(m_path);
    if (!file.exists())
        return state;
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxJournalSize) {
        if (problem)
            *problem = QStringLiteral("The call journal %1 cannot be read.").arg(m_path);
        return state;
    }
    Call call;
    bool haveStart = false;
    bool damaged = false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) {
            damaged = true;
            continue;
        }
        const QByteArray key = line.left(equals);
        const QByteArray value = line.mid(equals + 1);
        if (key == "pending") {
            const QByteArray record = QByteArray::fromPercentEncoding(value) + '\n';
            if (KeyOf(record).isEmpty())
                damaged = true;
            else
                state.pending.append(record);
        } else if (key == "start") {
            call.start = ParseMoment(value);
            haveStart = call.start.isValid();
            damaged = damaged || !haveStart;
        } else if (key == "last") {
            call.lastSeen = ParseMoment(value);
        } else if (key == "user") {
            call.user = ParseText(value);
        } else if (key == "device") {
            call.device = ParseText(value);
        } else if (key == "entry") {
            call.entry = ParseText(value);
        } else if (key == "interface") {
            call.interfaceName = ParseText(value);
        } else if (key == "sent") {
            // Read as the log's counts are, so a journal of an older version that counted
            // in 32 bits still reads right.
            call.sent = CByteCount::Parse(value);
        } else if (key == "received") {
            call.received = CByteCount::Parse(value);
        } else if (key == "source") {
            call.counterSource = ParseText(value);
        } else if (key == "index") {
            call.counterIndex = value.toLongLong();
        } else if (key == "rawReceived") {
            call.counterReceived = value.toULongLong();
        } else if (key == "rawSent") {
            call.counterSent = value.toULongLong();
        }
    }
    if (haveStart) {
        // A call never seen after its start ends where it began.
        if (!call.lastSeen.isValid() || call.lastSeen < call.start)
            call.lastSeen = call.start;
        state.call = call;
    }
    if (damaged && problem)
        *problem =
            QStringLiteral("Part of the call journal %1 was damaged and skipped.").arg(m_path);
    return state;
}

bool CCallJournal::Save(const State& state) const
{
    if (state.IsEmpty())
        return !QFile::exists(m_path) || QFile::remove(m_path);

    QByteArray text = "# Orvalis: the call in progress and records waiting for the log.\n";
    if (state.call) {
        const Call& call = *state.call;
        text += "start=" + Moment(call.start) + '\n';
        text += "last=" + Moment(call.lastSeen) + '\n';
        text += "user=" + Text(call.user) + '\n';
        text += "device=" + Text(call.device) + '\n';
        text += "entry=" + Text(call.entry) + '\n';
        text += "interface=" + Text(call.interfaceName) + '\n';
        text += "sent=" + QByteArray::number(call.sent) + '\n';
        text += "received=" + QByteArray::number(call.received) + '\n';
        if (!call.counterSource.isEmpty()) {
            text += "source=" + Text(call.counterSource) + '\n';
            text += "index=" + QByteArray::number(call.counterIndex) + '\n';
            text += "rawReceived=" + QByteArray::number(call.counterReceived) + '\n';
            text += "rawSent=" + QByteArray::number(call.counterSent) + '\n';
        }
    }
    for (const QByteArray& line : state.pending)
        text += "pending=" + line.trimmed().toPercentEncoding(" |:-") + '\n';

    QSaveFile file(m_path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(text) != text.size())
        return false;
    return file.commit();
}

QByteArray CCallJournal::RecordOf(const Call& call)
{
    return CLogFile::FormatRecord(call.start, call.lastSeen, call.user, call.device, call.entry,
                                  call.sent, call.received)
        .toUtf8();
}

bool CCallJournal::AlreadyLogged(const QString& logPath, const QByteArray& line)
{
    const QByteArray key = KeyOf(line);
    return !key.isEmpty() && LoggedKeys(logPath).contains(key);
}

QSet<QByteArray> CCallJournal::LoggedKeys(const QString& logPath)
{
    QSet<QByteArray> keys;
    // Only a regular file is read: opening a pipe would wait for a writer.
    QFile log(logPath);
    if (!QFileInfo(logPath).isFile() || !log.open(QIODevice::ReadOnly))
        return keys;
    const qint64 size = log.size();
    if (size > kLogTail)
        log.seek(size - kLogTail);
    const QList<QByteArray> lines = log.read(kLogTail).split('\n');
    for (const QByteArray& logged : lines) {
        const QByteArray key = KeyOf(logged);
        if (!key.isEmpty())
            keys.insert(key);
    }
    return keys;
}
