#include "monitor/callrecorder.h"

#include "billing/bytecount.h"
#include "billing/loglinecheck.h"
#include "common/apppaths.h"
#include "common/filename.h"
#include "common/messagebox.h"
#include "monitor/monitorsink.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <sys/stat.h>
#include <utility>

namespace {

// A difference of two of the interface's raw counters as a count.
qint64 Clamped(quint64 bytes)
{
    return static_cast<qint64>(
        std::min<quint64>(bytes, quint64(std::numeric_limits<qint64>::max())));
}

} // namespace

CCallRecorder::CCallRecorder(const CSettingsStore& store, CRemoteAccess& remoteAccess,
                             CMonitorSink& sink, CallInProgress callInProgress)
    : m_store(store)
    , m_sink(sink)
    , m_callInProgress(std::move(callInProgress))
    , m_rawCounters(&remoteAccess)
{}

void CCallRecorder::Start(const QString& userName, const QDateTime& now)
{
    m_userName = userName;
    m_started = true;

    // What the last run left: records for the log, and perhaps a call in progress, which
    // is settled at the first look at the connections. A journal may have been damaged:
    // only sound records reach the log, the rest is kept aside for the user to look at.
    QList<QByteArray> waiting;
    QList<QByteArray> damaged;
    QSet<QByteArray> seen;
    // A record that reached the log just before the end of the last run is not written
    // twice; the end of the log is read once for all of them.
    const QSet<QByteArray> logged = CCallJournal::LoggedKeys(LogPath());
    for (const QString& path : JournalPaths()) {
        QString problem;
        CCallJournal::Condition condition = CCallJournal::Condition::Missing;
        const CCallJournal journal(path);
        const CCallJournal::State state = journal.Load(&problem, &condition);
        if (!problem.isEmpty())
            m_sink.AddMessage(problem);
        if (condition == CCallJournal::Condition::Damaged ||
            condition == CCallJournal::Condition::Unreadable) {
            // What could not be read is kept for the user, and a new journal begins.
            const QString aside = journal.MoveAside(now);
            CMessageBox::Warning(
                aside.isEmpty()
                    ? QStringLiteral("The call journal %1 could not be read and could not be "
                                     "moved aside; it is left as it is.")
                          .arg(path)
                    : QStringLiteral("The call journal %1 could not be read in full. It is kept "
                                     "as %2, and a new journal is started.")
                          .arg(path, aside));
        }
        for (const QByteArray& line : state.pending) {
            if (seen.contains(line))
                continue;
            seen.insert(line);
            if (!CLogLineCheck::IsSound(line, now))
                damaged.append(line);
            else if (!logged.contains(CCallJournal::KeyOf(line)))
                waiting.append(line);
        }
        if (state.call && !m_journaledCall) {
            if (CLogLineCheck::IsSaneMoment(state.call->start) &&
                CLogLineCheck::IsSaneMoment(state.call->lastSeen))
                m_journaledCall = state.call;
            else
                damaged.append(CCallJournal::RecordOf(*state.call));
        }
    }
    KeepAside(damaged);
    m_log.Requeue(waiting);
    if (m_log.PendingCount() > 0)
        m_log.Flush(LogPath());
    SaveJournal(now);
}

void CCallRecorder::Finish(const QDateTime& now)
{
    if (!m_started || m_finished)
        return;
    m_finished = true;
    if (m_log.PendingCount() > 0)
        m_log.Flush(LogPath());
    // The call in progress stays in the journal, seen until now: the next start takes it
    // over or logs it as ending here.
    SaveJournal(now);
}

std::optional<CCallJournal::Call>
CCallRecorder::SettleJournaledCall(const QList<CActiveConnection>& connections, bool connected,
                                   const QDateTime& now)
{
    if (!m_journaledCall)
        return std::nullopt;
    CCallJournal::Call call = *m_journaledCall;
    m_journaledCall.reset();
    const bool stillUp = !connected && !connections.isEmpty() &&
                         connections.first().entryName == call.entry &&
                         connections.first().interfaceName == call.interfaceName;
    if (stillUp) {
        if (call.lastSeen > now) {
            // The clock went back between the last run and this one. As when it goes back
            // during a run, the call's start moves with it, so its length goes on from
            // what it was when it was last seen.
            call.start = call.start.addSecs(call.lastSeen.secsTo(now));
            call.lastSeen = now;
        }
        return call;
    }
    const QByteArray record = CCallJournal::RecordOf(call);
    if (!CCallJournal::AlreadyLogged(LogPath(), record)) {
        // Journaled first, so a failure of the log keeps the record in the journal.
        SaveJournal(now, record);
        m_log.Append(LogPath(), QString::fromUtf8(record));
    }
    SaveJournal(now);
    return std::nullopt;
}

CCallRecorder::Carried CCallRecorder::CarriedSoFar(const CCallJournal::Call& call)
{
    Carried carried{call.sent, call.received};
    CInterfaceCounters::Reading reading;
    if (!call.counterSource.isEmpty() && m_rawCounters.Read(call.interfaceName, reading) &&
        reading.source == call.counterSource && reading.index == call.counterIndex &&
        reading.received >= call.counterReceived && reading.sent >= call.counterSent) {
        carried.sent = CByteCount::Add(carried.sent, Clamped(reading.sent - call.counterSent));
        carried.received =
            CByteCount::Add(carried.received, Clamped(reading.received - call.counterReceived));
    }
    return carried;
}

void CCallRecorder::CallSeen(const QDateTime& now)
{
    SaveJournal(now);
}

void CCallRecorder::CallGoesOn(const QDateTime& now)
{
    // Again at once after a failed save, and when the log moved to another folder (the
    // journal goes with it).
    if (m_journalUnsaved || !m_lastJournal.isValid() || std::abs(m_lastJournal.secsTo(now)) >= 60 ||
        JournalPaths() != m_journalPaths)
        SaveJournal(now);
}

QString CCallRecorder::CallEnded(const QDateTime& start, const QDateTime& end,
                                 const CActiveConnection& call, qint64 sent, qint64 received)
{
    const QString line = CLogFile::FormatRecord(start, end, m_userName, call.deviceName,
                                                call.entryName, sent, received);
    // The journal holds the record until the log has it: a crash in between loses nothing,
    // and the next start does not write it twice.
    SaveJournal(end, line.toUtf8());
    m_log.Append(LogPath(), line);
    SaveJournal(end);
    return line.chopped(1);
}

void CCallRecorder::RetryWaiting(const QDateTime& now)
{
    if (m_log.PendingCount() > 0) {
        m_log.Flush(LogPath());
        SaveJournal(now);
    } else if (m_journalPaths != JournalPaths()) {
        SaveJournal(now);
    }
}

bool CCallRecorder::HasWaiting() const
{
    return m_log.PendingCount() > 0 || m_journalPaths != JournalPaths();
}

QString CCallRecorder::WaitingRecordsNote() const
{
    const qsizetype waiting = m_log.PendingCount();
    if (waiting == 0)
        return QString();
    return QStringLiteral("%1 call record(s) could not be written to %2. They are kept in %3 "
                          "and will be written when Orvalis starts again.")
        .arg(waiting)
        .arg(LogPath(), JournalPath());
}

QString CCallRecorder::JournalPath() const
{
    const QStringList paths = JournalPaths();
    return m_journalFallback && paths.size() > 1 ? paths.last() : paths.first();
}

QStringList CCallRecorder::JournalPaths() const
{
    // Beside the log; beside the settings when the log's folder cannot take it. A folder
    // others may write to could hold anything of theirs at the journal's name: the journal
    // is then kept beside the settings only.
    const QString name = QStringLiteral("logfile.journal");
    const QString logFolder = CAppPaths::LogFolder(m_store);
    const QString besideLog = logFolder + u'/' + name;
    const QString besideSettings = CAppPaths::DefaultLogFolder(m_store) + name;
    struct stat folder {};
    const bool shared = ::stat(CFileName::Encode(logFolder).constData(), &folder) == 0 &&
                        (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    if (shared ||
        QFileInfo(besideLog).absoluteFilePath() == QFileInfo(besideSettings).absoluteFilePath())
        return {besideSettings};
    return {besideLog, besideSettings};
}

void CCallRecorder::SaveJournal(const QDateTime& now, const QByteArray& alsoPending)
{
    if (!m_started)
        return;
    CCallJournal::State state;
    state.pending = m_log.Pending();
    if (!alsoPending.isEmpty())
        state.pending.append(alsoPending);
    if (std::optional<CCallJournal::Call> call =
            m_callInProgress ? m_callInProgress() : std::nullopt) {
        call->lastSeen = now;
        call->user = m_userName;
        CInterfaceCounters::Reading reading;
        if (!call->interfaceName.isEmpty() && m_rawCounters.Read(call->interfaceName, reading)) {
            call->counterSource = reading.source;
            call->counterIndex = reading.index;
            call->counterReceived = reading.received;
            call->counterSent = reading.sent;
        }
        state.call = call;
    } else if (m_journaledCall) {
        state.call = m_journaledCall;
    }
    const QStringList paths = JournalPaths();
    bool saved = CCallJournal(paths.first()).Save(state);
    m_journalFallback = !saved && paths.size() > 1;
    if (m_journalFallback) {
        saved = CCallJournal(paths.last()).Save(state);
        // The journal beside the log is older now: it goes, so the next start does not
        // take its call for the one in progress.
        if (saved)
            CCallJournal(paths.first()).Save(CCallJournal::State());
    } else if (paths.size() > 1) {
        // Only one journal holds the state: the other one is emptied.
        CCallJournal(paths.last()).Save(CCallJournal::State());
    }
    m_journalUnsaved = !saved;
    if (!saved) {
        // The state stays in memory and is saved at the next chance.
        if (!m_toldUnsaved)
            CMessageBox::Error(
                QStringLiteral("The call journal could not be saved in %1. Until it can be, a "
                               "call in progress is lost if Orvalis is stopped without "
                               "ending normally.")
                    .arg(paths.join(QStringLiteral(" nor in "))));
        m_toldUnsaved = true;
        return;
    }
    // The log moved to another folder since the last save: the journal moved with it, and
    // the one left in the old folder would only be found by a start that looks there.
    for (const QString& old : std::as_const(m_journalPaths)) {
        if (!paths.contains(old))
            CCallJournal(old).Save(CCallJournal::State());
    }
    m_journalPaths = paths;
    m_lastJournal = now;
}

void CCallRecorder::KeepAside(const QList<QByteArray>& lines)
{
    if (lines.isEmpty())
        return;
    const QString path = JournalPaths().first() + QStringLiteral(".rejected");
    QByteArray text;
    for (const QByteArray& line : lines)
        text += line.endsWith('\n') ? line : line + '\n';
    QFile file(path);
    const bool kept = file.open(QIODevice::WriteOnly | QIODevice::Append) &&
                      file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
                      file.write(text) == text.size() && file.flush();
    CMessageBox::Warning(
        kept ? QStringLiteral("%1 record(s) in the call journal were damaged and were not "
                              "written to the log. They are kept in %2.")
                   .arg(lines.size())
                   .arg(path)
             : QStringLiteral("%1 record(s) in the call journal were damaged and were not "
                              "written to the log:\n%2")
                   .arg(lines.size())
                   .arg(QString::fromUtf8(text.left(4096))));
}

QString CCallRecorder::LogPath() const
{
    return CAppPaths::LogFile(m_store);
}
