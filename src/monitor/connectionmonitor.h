#pragma once

#include "billing/logfile.h"
#include "common/messagebox.h"
#include "common/settingskeys.h"
#include "dialer/activeconnection.h"
#include "monitor/calljournal.h"
#include "monitor/callrecorder.h"
#include "monitor/callstatus.h"
#include "monitor/costguard.h"
#include "monitor/planwatch.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <mutex>
#include <optional>

class CDesktopNotifier;
class CLinkEvents;
class CMonitorServices;
class CMonitorSink;
class CRemoteAccess;
class CSettingsStore;
class CSoundPlayer;
class CTrafficCounters;

// Watches the dial-up service once a clock second: notices when a connection comes up and
// when it goes, times the call, shows its duration and byte counts, writes one log record
// per finished call, redials a dropped line, and runs the idle hang-up, the mail and
// upgrade checks, the cost warnings and limits and the schedules on their timers.
//
// The records and the journal of the calls are CCallRecorder's work: the journal keeps a
// call in progress and the records not yet in the log, so a call survives a crash, a kill
// or a logout. The cost warnings and limits are CCostGuard's.
//
// With a backend that tells when its connections change, the looks between calls are left
// out: the poll sleeps until the backend or the kernel (a link event) speaks and then looks
// at the next second, as the poll would have. The cost checks run every minute only while they have
// something to do: a call, a warning or limit that is on, or records waiting for the log.
//
// Lives on the user-interface thread. Every clock read goes through CClock, so tests drive
// it by setting the clock and calling the timer handlers.
class CConnectionMonitor : public QObject {
    Q_OBJECT
public:
    // The timers, by their numbers.
    enum TimerId {
        PollTimer = 1,
        IdleTimer = 2,
        MailTimer = 3,
        FirstMinuteTimer = 4,
        CostTimer = 5,
        ScheduleTimer = 7,
        MailResultTimer = 8
    };

    static const QString kIdleTitle;
    // The connection icon's tooltip between calls.
    static QString WaitingTooltip();
    // What a mail check writes when it cannot reach the server.
    static const QString kMailErrorResult;

    // `counters` may be null: the counter worker could not start, and byte counts read 0.
    CConnectionMonitor(CSettingsStore& store, CRemoteAccess& remoteAccess,
                       CTrafficCounters* counters, CMonitorSink& sink, CMonitorServices& services,
                       CSoundPlayer& sound, QObject* parent = nullptr);
    ~CConnectionMonitor() override;

    // Starts watching: the user name of the log records, what the journal kept from the last
    // run, timers 1, 2, 3 and 5, and the first counter query.
    void Start(const QString& userName);
    // Ends the run: stops the timers, writes any record still waiting for the log and
    // journals the call in progress, so the next start can take it over. Safe to call
    // more than once.
    void Shutdown();
    // After Shutdown(): what the user should hear about records that are still waiting for
    // the log and where they are kept; empty when there are none.
    QString WaitingRecordsNote() const;
    // The journal: beside the log, or beside the settings when the log's folder cannot
    // take it.
    QString JournalPath() const;

    // Timer 1: the connection poll; its work runs once per clock second.
    void Poll();
    // The backend said its connections changed: the poll looks at the next second.
    void ConnectionsChanged();
    // Timer 2: idle hang-up or stay-online, while connected.
    void IdleCheck();
    // Timer 3: periodic mail check, while connected.
    void PeriodicMailCheck();
    // Timer 4: a minute into a call, the upgrade and mail checks.
    void FirstMinuteChecks();
    // Timer 5: cost warnings and limits over the totals of the log.
    void CostChecks();
    // Timer 7: the schedules.
    void ScheduleTick();
    // Timer 8: shows what the mail check left in the mail result field.
    void ShowMailResult();

    // The "Hangup" command, with its question asked as `ask` says (none for a command from
    // outside with no display; one that closes itself for what the program does on its
    // own: the schedules, the idle hang-up, the cost and data limits).
    void HangupCommand(CMessageBox::Question ask = CMessageBox::Question::Waiting);
    // Hangs up every connection after the question (when enabled, as `ask` says); false
    // when declined or the connections could not be listed.
    bool HangUpAll(CMessageBox::Question ask = CMessageBox::Question::Waiting);
    // Starts a mail check in the background; its result is shown 100 ms later, or as soon
    // as it arrives.
    void StartMailCheck();
    // Starts timer 7 (the "Timer" command).
    void StartScheduleTicker();
    // After the preferences were changed: re-arms timers 2 and 3 from the settings and runs
    // the cost checks once for each warning or limit that is on.
    void ReArm();

    // The mail result field: written by the mail check from any thread.
    void SetMailResult(const QString& text);
    QString MailResult() const;
    // The count of new mails the last check showed; 0 before any.
    int MailCount() const { return m_mailCount; }

    bool Connected() const { return m_connected; }
    // How the call stands at this moment, for a script that asks the running program.
    CCallStatus Status() const;
    bool UserHungUp() const { return m_userHungUp; }
    const QTimer& Timer(TimerId id) const;
    const CLogFile& Log() const { return m_recorder.Log(); }
    // How often the cost checks read the log (they skip it while nothing changed).
    qint64 LogPasses() const { return m_costGuard.LogPasses(); }

    // The data plan's cycle as it stands now, the call in progress included. Reads the
    // log only when it changed, so a tick may ask.
    CCycleUsage Usage();
    // The data plan's warnings, its hang-up at the cap and the rule for dialling on its own.
    CPlanWatch& PlanWatch() { return m_planWatch; }
    // Where the data plan's warnings go (null: the program's own box); its "Hang up" button
    // hangs up as the Hangup command does.
    void SetNotifier(CDesktopNotifier* notifier);

Q_SIGNALS:
    void MailResultArrived();
    // A call was first seen (or taken over from the last run).
    void CallStarted();
    // A call ended; `record` is the line written to the log for it, without its line end.
    void CallEnded(const QString& record);
    // The data plan's warning for this percentage of the allowance was given.
    void UsageThresholdPassed(int percent);

private:
    // What the idle check does (the "HangupComboState" setting; other values do nothing
    // but keep the timer running).
    enum IdleAction : int { IdleDoNothing = 0, IdleHangUp = 1, IdleStayOnline = 2 };
    // What a connection made or dropped sounds like (the "ActionWhenCon..." settings).
    enum SoundAction : int { SoundSilence = 0, SoundChirp = 1, SoundFile = 2 };
    // How many times the chirp sounds.
    static constexpr int kChirpBeeps = 2;

    void ArmPollTimer();
    // One look at the connections; false when this second was looked at already.
    bool PollOnce();
    // True while the poll must go on once a second: a call is watched, the backend cannot
    // tell of changes, the connections could not be read, or a call of the last run waits.
    bool PollNeeded() const;
    // Starts or stops timer 5 as the cost checks and the waiting records need it.
    void FollowCostTimer();
    void ClockSteppedBack(const QDateTime& now);
    void NewConnection(const QDateTime& now, const CCallJournal::Call* takenOver = nullptr);
    // The call being watched as the journal keeps it; none between calls.
    std::optional<CCallJournal::Call> CallInProgress() const;
    void ConnectedTick(const QDateTime& now);
    void ConnectionGone(const QDateTime& now);
    void PlayAction(const CIntKey& actionKey, const CTextKey& soundKey);
    void WatchInterface(const QString& interfaceName);
    // One counter as the monitor follows it: its last reading and what it counted in all,
    // across wraps and restarts of the source.
    struct Count {
        qint64 reading = 0;
        qint64 total = 0;
    };
    // Takes a new reading into the count; returns the count's total.
    static qint64 Follow(Count& count, qint64 reading);
    // The counters' totals after a fresh reading (0 without counters).
    qint64 SentCount() const;
    qint64 ReceivedCount() const;
    // What the call carried so far.
    qint64 SentSinceStart() const;
    qint64 ReceivedSinceStart() const;
    void ArmFromSettings();
    static int MinutesToMsecs(int minutes);
    // The call in progress for the data plan; none between calls.
    std::optional<CPlanWatch::Call> PlanCall(const QDateTime& now) const;
    // The connection icon between calls, with the data plan's line.
    void ShowWaitingTray();
    // The data plan's warnings and hang-up for this usage; says which warning was given.
    void CheckPlan(const CCycleUsage& usage, const std::optional<CPlanWatch::Call>& call);

    CSettingsStore& m_store;
    CRemoteAccess& m_remoteAccess;
    CTrafficCounters* m_counters;
    CMonitorSink& m_sink;
    CMonitorServices& m_services;
    CSoundPlayer& m_sound;

    QTimer m_pollTimer;
    QTimer m_idleTimer;
    QTimer m_mailTimer;
    QTimer m_firstMinuteTimer;
    QTimer m_costTimer;
    QTimer m_scheduleTimer;
    QTimer m_mailResultTimer;

    CCallRecorder m_recorder;
    CCostGuard m_costGuard;
    CPlanWatch m_planWatch;
    CDesktopNotifier* m_notifier = nullptr;

    bool m_connected = false;
    bool m_userHungUp = false;
    QDateTime m_start;
    QDateTime m_lastTick;
    // Read from const methods too: every look at the counters moves the counts on.
    mutable Count m_sent;
    mutable Count m_received;
    qint64 m_baseSent = 0; // the counts when the call started
    qint64 m_baseReceived = 0;
    bool m_idleValid = false;
    qint64 m_idleSent = 0;
    qint64 m_idleReceived = 0;
    IdleAction m_idleAction = IdleDoNothing;
    QList<CActiveConnection> m_connections;
    bool m_enumErrorShown = false;
    bool m_backendTells = false;         // the backend tells when its connections change
    CLinkEvents* m_linkEvents = nullptr; // a child, while the backend tells

    mutable std::mutex m_mailMutex;
    QString m_mailResult = QStringLiteral("yahoohoo");
    int m_mailCount = 0;
};
