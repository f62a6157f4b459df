#pragma once

#include "billing/logfile.h"
#include "dialer/activeconnection.h"
#include "monitor/calljournal.h"
#include "monitor/interfacecounters.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CMonitorSink;
class CRemoteAccess;
class CSettingsStore;

// Turns calls into records: writes the record of a finished call to the log and keeps the
// journal beside it (see CCallJournal). The journal is written when a call is first seen,
// then at most once a minute while it goes on, whenever a record waits for the log, and
// at the end of the run, and at once when the log's folder changed (the journal moves with
// the log, and the one in the old folder is removed). Start() reads back what the last run
// left: records that did not reach the log yet, and perhaps a call, which
// SettleJournaledCall() takes over or logs. What is read back is checked first (see
// CLogLineCheck): a damaged record or a call outside sane years goes to
// logfile.journal.rejected beside the journal instead, and the user is told once.
//
// A journal that cannot be read is moved aside, never replaced, and the user is told. When
// neither folder can take the journal (a full disk), the user is told once and the state
// stays in memory, saved again at every chance until a save works.
//
// The call in progress comes from the connection monitor through `callInProgress`: its
// start, device, entry, interface and bytes so far, or nothing between calls. The
// recorder adds the user, the moment and the interface's raw counters.
class CCallRecorder {
public:
    using CallInProgress = std::function<std::optional<CCallJournal::Call>()>;

    // The bytes a taken-over call carried so far.
    struct Carried {
        qint64 sent = 0;
        qint64 received = 0;
    };

    CCallRecorder(const CSettingsStore& store, CRemoteAccess& remoteAccess, CMonitorSink& sink,
                  CallInProgress callInProgress);

    // Reads the journals of the last run (their problems go to the sink's messages), writes
    // the records they kept and journals what is left. `now` in whole seconds.
    void Start(const QString& userName, const QDateTime& now);
    // Writes any record still waiting and journals the call in progress, once; nothing
    // before Start().
    void Finish(const QDateTime& now);

    // A call from the last run, not settled yet.
    bool HasJournaledCall() const { return m_journaledCall.has_value(); }
    // The journaled call meets the connections that are up now. When it is the first of
    // them and no call is being watched (`connected` false), it is still up and returned
    // for the monitor to take over; otherwise it is logged as ending when last seen.
    std::optional<CCallJournal::Call>
    SettleJournaledCall(const QList<CActiveConnection>& connections, bool connected,
                        const QDateTime& now);
    // What a taken-over call carried: its bytes before this run, plus what its interface
    // carried while the program was not watching (when the counters are the same ones).
    Carried CarriedSoFar(const CCallJournal::Call& call);

    // A call was first seen: it goes into the journal at once.
    void CallSeen(const QDateTime& now);
    // A second of the call: journaled again when the last save is a minute old.
    void CallGoesOn(const QDateTime& now);
    // The call ended: its record goes to the log, held in the journal until it is there.
    // Returns the record's line, without its line end.
    QString CallEnded(const QDateTime& start, const QDateTime& end, const CActiveConnection& call,
                      qint64 sent, qint64 received);
    // Records that could not be written earlier get another chance.
    void RetryWaiting(const QDateTime& now);
    // True while RetryWaiting has work: records wait for the log, or the journal's folder is
    // no longer the one it was saved in.
    bool HasWaiting() const;

    // After Finish(): what the user should hear about records that are still waiting for
    // the log and where they are kept; empty when there are none.
    QString WaitingRecordsNote() const;
    // The journal: beside the log, or beside the settings when the log's folder cannot
    // take it or other users may write to it.
    QString JournalPath() const;
    const CLogFile& Log() const { return m_log; }

private:
    void SaveJournal(const QDateTime& now, const QByteArray& alsoPending = QByteArray());
    QStringList JournalPaths() const;
    // Lines of the journal that are no sound record: written to a file beside the journal
    // instead of the log, and the user is told once.
    void KeepAside(const QList<QByteArray>& lines);
    QString LogPath() const;

    const CSettingsStore& m_store;
    CMonitorSink& m_sink;
    CallInProgress m_callInProgress;
    CInterfaceCounters m_rawCounters; // readings of the call's interface for the journal
    CLogFile m_log;
    QString m_userName;
    bool m_started = false;
    bool m_finished = false;
    std::optional<CCallJournal::Call> m_journaledCall; // from the last run, not settled yet
    QDateTime m_lastJournal;
    bool m_journalFallback = false;
    bool m_journalUnsaved = false; // the last save failed in every folder
    bool m_toldUnsaved = false;
    QStringList m_journalPaths; // where the journal was saved last
};
