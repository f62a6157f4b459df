#include "monitor/calljournal.h"

#include "billing/bytecount.h"
#include "billing/logfile.h"
#include "billing/logreader.h"
#include "billing/logrecord.h"
#include "common/atomicfilewriter.h"
#include "common/filename.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

namespace {

// True when the name holds a regular file of this user (links are not followed).
bool IsOwnRegularFile(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

// The journal's text: only from a regular file of this user that its owner may read,
// opened without following a link and without waiting (a pipe would block until a
// writer came).
std::optional<QByteArray> ReadJournal(const QByteArray& path, bool& missing)
{
    missing = false;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT || errno == ENOTDIR;
        return std::nullopt;
    }
    struct stat st {};
    std::optional<QByteArray> text;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & S_IRUSR) != 0 && st.st_size <= kMaxJournalSize) {
        text = QByteArray();
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 || text->size() + n > kMaxJournalSize) {
                text.reset();
                break;
            }
            if (n == 0)
                break;
            text->append(buffer, n);
        }
    }
    ::close(fd);
    return text;
}

} // namespace

CCallJournal::CCallJournal(QString path)
    : m_path(std::move(path))
{}

CCallJournal::State CCallJournal::Load(QString* problem, Condition* condition) const
{
    State state;
    bool missing = false;
    const std::optional<QByteArray> text = ReadJournal(CFileName::Encode(m_path), missing);
    if (condition)
        *condition = missing ? Condition::Missing : text ? Condition::Read : Condition::Unreadable;
    if (missing)
        return state;
    if (!text) {
        if (problem)
            *problem = QStringLiteral("The call journal %1 cannot be read.").arg(m_path);
        return state;
    }
    Call call;
    bool haveStart = false;
    bool damaged = false;
    const QList<QByteArray> lines = text->split('\n');
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
    if (damaged && condition)
        *condition = Condition::Damaged;
    if (damaged && problem)
        *problem =
            QStringLiteral("Part of the call journal %1 was damaged and skipped.").arg(m_path);
    return state;
}

bool CCallJournal::Save(const State& state) const
{
    const QByteArray path = CFileName::Encode(m_path);
    if (state.IsEmpty()) {
        // Only a journal of ours goes; anything else at the name is not ours to remove.
        return !IsOwnRegularFile(path) || ::unlink(path.constData()) == 0 || errno == ENOENT;
    }

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

    CAtomicFileWriter writer(m_path, CAtomicFileWriter::Links::Replace);
    return writer.Begin() && writer.Commit(text);
}

QString CCallJournal::MoveAside(const QDateTime& now) const
{
    const QString base = m_path + QStringLiteral(".unreadable-") +
                         now.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
    const QByteArray from = CFileName::Encode(m_path);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const QString aside = attempt == 1 ? base : base + u'-' + QString::number(attempt);
        const QByteArray to = CFileName::Encode(aside);
        // Never over a file kept aside before.
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) ==
            0)
            return aside;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL && errno != ENOSYS)
            return QString();
        // A file system without the no-replace rename.
        struct stat st {};
        if (::lstat(to.constData(), &st) == 0)
            continue;
        return ::rename(from.constData(), to.constData()) == 0 ? aside : QString();
    }
    return QString();
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
