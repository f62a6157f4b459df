#include "monitor/connectionmonitor.h"

#include "billing/bytecount.h"
#include "billing/summarytext.h"
#include "common/clock.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/remoteaccess.h"
#include "dialer/scheduleticker.h"
#include "monitor/desktopnotifier.h"
#include "monitor/linkevents.h"
#include "monitor/monitorservices.h"
#include "monitor/monitorsink.h"
#include "monitor/trafficcounters.h"
#include "sound/soundplayer.h"

#include <QTime>

#include <algorithm>

const QString CConnectionMonitor::kIdleTitle = QStringLiteral("OrvalisDUI");
const QString CConnectionMonitor::kMailErrorResult =
    QStringLiteral("Error connecting to the server.\nCheck your email settings!");

namespace {

constexpr int kMinuteMsecs = 60000;
// How long a mail check gets before its result field is first looked at.
constexpr int kMailResultDelayMsecs = 100;
constexpr int kScheduleTickMsecs = 1000;
// The longest period of the idle and mail timers, in minutes: a day.
constexpr int kLongestPeriodMinutes = 24 * 60;

constexpr qint64 k32Bits = qint64(1) << 32;

// What a counter carried from its last reading to this one. The counters are 64-bit and
// only grow, but a source may still count in 32 bits: a reading below the last one, while
// the last one is below 2^32 and the fall is more than 2^31 (as the 32-bit difference of
// the old counters took it), is such a counter wrapping, and 2^32 is added to it. Any other
// fall is a counter that started again from 0 (the interface was reset): all of what it
// shows now is new, so the count of the call never goes back.
qint64 Difference(qint64 now, qint64 last)
{
    if (now >= last)
        return now - last;
    if (last < k32Bits && last - now > k32Bits / 2)
        return now + k32Bits - last;
    return qMax<qint64>(now, 0);
}

QDateTime WholeSeconds(const QDateTime& moment)
{
    QDateTime whole = moment;
    const QTime time = moment.time();
    whole.setTime(QTime(time.hour(), time.minute(), time.second()));
    return whole;
}

} // namespace

CConnectionMonitor::CConnectionMonitor(CSettingsStore& store, CRemoteAccess& remoteAccess,
                                       CTrafficCounters* counters, CMonitorSink& sink,
                                       CMonitorServices& services, CSoundPlayer& sound,
                                       QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_remoteAccess(remoteAccess)
    , m_counters(counters)
    , m_sink(sink)
    , m_services(services)
    , m_sound(sound)
    , m_recorder(store, remoteAccess, sink, [this] { return CallInProgress(); })
    , m_costGuard(
          store, [this] { return HangUpAll(CMessageBox::Question::SelfClosing); },
          [this] { return m_connected; })
    , m_planWatch(store, [this] { return HangUpAll(CMessageBox::Question::SelfClosing); })
{
    // Timer 1 is armed for the next second boundary each time, so an idle program wakes
    // once a second rather than continuously.
    m_pollTimer.setSingleShot(true);
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    m_mailResultTimer.setSingleShot(true);
    connect(&m_pollTimer, &QTimer::timeout, this, &CConnectionMonitor::Poll);
    connect(&m_idleTimer, &QTimer::timeout, this, &CConnectionMonitor::IdleCheck);
    connect(&m_mailTimer, &QTimer::timeout, this, &CConnectionMonitor::PeriodicMailCheck);
    connect(&m_firstMinuteTimer, &QTimer::timeout, this, &CConnectionMonitor::FirstMinuteChecks);
    connect(&m_costTimer, &QTimer::timeout, this, &CConnectionMonitor::CostChecks);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &CConnectionMonitor::ScheduleTick);
    connect(&m_mailResultTimer, &QTimer::timeout, this, &CConnectionMonitor::ShowMailResult);
    // A result that arrives after the 100 ms look is shown as soon as it is there.
    connect(this, &CConnectionMonitor::MailResultArrived, this, &CConnectionMonitor::ShowMailResult,
            Qt::QueuedConnection);
}

CConnectionMonitor::~CConnectionMonitor()
{
    if (m_backendTells)
        m_remoteAccess.WatchConnections({});
}

void CConnectionMonitor::Start(const QString& userName)
{
    m_recorder.Start(userName, WholeSeconds(CClock::Now()));

    ArmFromSettings();
    m_costTimer.setInterval(kMinuteMsecs);
    FollowCostTimer();
    m_backendTells = m_remoteAccess.WatchConnections([this] { ConnectionsChanged(); });
    if (m_backendTells) {
        m_linkEvents = new CLinkEvents(this);
        if (m_linkEvents->Open())
            connect(m_linkEvents, &CLinkEvents::Changed, this,
                    &CConnectionMonitor::ConnectionsChanged);
    }
    // The first query runs now, so the counters hold values when a call is first seen.
    WatchInterface(QString());
    if (m_counters)
        m_counters->Trigger();
    ArmPollTimer();
    // The data plan's line on the icon, and a warning still due from the last run.
    const CCycleUsage usage = m_planWatch.Usage(std::nullopt);
    if (usage.allowance > 0)
        m_sink.SetTray(CMonitorSink::PictureWaiting,
                       WaitingTooltip() + CPlanWatch::TooltipLine(usage));
    CheckPlan(usage, std::nullopt);
}

void CConnectionMonitor::Shutdown()
{
    for (QTimer* timer : {&m_pollTimer, &m_idleTimer, &m_mailTimer, &m_firstMinuteTimer,
                          &m_costTimer, &m_scheduleTimer, &m_mailResultTimer})
        timer->stop();
    // No more looks at the connections after the end of the run.
    if (m_backendTells)
        m_remoteAccess.WatchConnections({});
    m_backendTells = false;
    delete m_linkEvents;
    m_linkEvents = nullptr;
    if (m_counters)
        m_counters->Cancel();
    m_recorder.Finish(WholeSeconds(CClock::Now()));
}

QString CConnectionMonitor::WaitingRecordsNote() const
{
    return m_recorder.WaitingRecordsNote();
}

QString CConnectionMonitor::JournalPath() const
{
    return m_recorder.JournalPath();
}

std::optional<CCallJournal::Call> CConnectionMonitor::CallInProgress() const
{
    if (!m_connected || m_connections.isEmpty())
        return std::nullopt;
    const CActiveConnection& connection = m_connections.first();
    CCallJournal::Call call;
    call.start = m_start;
    call.device = connection.deviceName;
    call.entry = connection.entryName;
    call.interfaceName = connection.interfaceName;
    call.sent = SentSinceStart();
    call.received = ReceivedSinceStart();
    return call;
}

void CConnectionMonitor::ArmPollTimer()
{
    const qint64 intoSecond = CClock::NowMsecs() % 1000;
    // A few milliseconds past the boundary, so the clock has surely moved on.
    m_pollTimer.start(static_cast<int>(1000 - intoSecond + 5));
}

void CConnectionMonitor::Poll()
{
    ArmPollTimer();
    // A second looked at already leaves the timer armed for the next one.
    if (PollOnce() && !PollNeeded())
        m_pollTimer.stop();
}

void CConnectionMonitor::ConnectionsChanged()
{
    if (!m_pollTimer.isActive())
        ArmPollTimer();
}

bool CConnectionMonitor::PollNeeded() const
{
    return !m_backendTells || m_connected || m_enumErrorShown || m_recorder.HasJournaledCall();
}

bool CConnectionMonitor::PollOnce()
{
    const QDateTime now = WholeSeconds(CClock::Now());
    if (m_lastTick.isValid() && now == m_lastTick)
        return false;
    if (m_lastTick.isValid() && now < m_lastTick)
        ClockSteppedBack(now);
    // Taken before any box can open: ticks go on underneath a modal box and must not do
    // this second's work twice.
    m_lastTick = now;

    QList<CActiveConnection> connections;
    if (m_remoteAccess.EnumConnections(connections) != 0) {
        // One box per failure episode, not one every second.
        if (!m_enumErrorShown) {
            m_enumErrorShown = true;
            CMessageBox::Error(tr("Unknown error: the list of connections cannot be read."));
        }
        return true;
    }
    m_enumErrorShown = false;

    if (m_recorder.HasJournaledCall()) {
        // A call from the last run meets the connections that are up now: taken over when
        // it is still up, logged otherwise.
        if (const std::optional<CCallJournal::Call> call =
                m_recorder.SettleJournaledCall(connections, m_connected, now)) {
            m_connections = connections;
            NewConnection(now, &*call);
        }
    }
    if (!connections.isEmpty()) {
        m_connections = connections;
        if (!m_connected)
            NewConnection(now);
        ConnectedTick(now);
    } else if (m_connected) {
        ConnectionGone(now);
    }
    return true;
}

void CConnectionMonitor::ClockSteppedBack(const QDateTime& now)
{
    // The wall clock went back (a time service at boot, a wrong hardware clock). The
    // call's start moves with it, as if one second had passed since the last tick, so the
    // duration goes on from where it was.
    if (m_connected)
        m_start = m_start.addSecs(m_lastTick.secsTo(now) - 1);
}

void CConnectionMonitor::NewConnection(const QDateTime& now, const CCallJournal::Call* takenOver)
{
    m_start = takenOver ? takenOver->start : now;
    WatchInterface(m_connections.first().interfaceName);
    if (m_counters)
        m_counters->Trigger();
    m_baseSent = SentCount();
    m_baseReceived = ReceivedCount();
    if (takenOver) {
        // The call counts on from what it carried before.
        const CCallRecorder::Carried carried = m_recorder.CarriedSoFar(*takenOver);
        m_baseSent -= carried.sent;
        m_baseReceived -= carried.received;
    }
    m_connected = true;
    if (m_store.Read(Keys::ShowWhenConnected) == 1)
        m_sink.ShowWindow();
    m_sink.AddMessage(tr("Connection %1 detected").arg(m_connections.first().entryName));
    PlayAction(Keys::ActionWhenConMade, Keys::SoundWhenConMade);
    m_firstMinuteTimer.start(kMinuteMsecs);
    FollowCostTimer();
    m_recorder.CallSeen(now);
    Q_EMIT CallStarted();
}

void CConnectionMonitor::ConnectedTick(const QDateTime& now)
{
    const QString elapsed = CSummaryText::SpanText(m_start.secsTo(now));
    m_sink.SetCallValues(elapsed, QString::number(ReceivedSinceStart()),
                         QString::number(SentSinceStart()));
    const std::optional<CPlanWatch::Call> planCall = PlanCall(now);
    const CCycleUsage usage = m_planWatch.Usage(planCall);
    m_sink.SetTray(CMonitorSink::PictureConnected,
                   tr("Connected - %1").arg(elapsed) + CPlanWatch::TooltipLine(usage));
    m_sink.SetTitle(elapsed);
    if (m_counters)
        m_counters->Trigger();
    m_connected = true;
    m_recorder.CallGoesOn(now);
    CheckPlan(usage, planCall);
}

void CConnectionMonitor::ConnectionGone(const QDateTime& now)
{
    m_connected = false;
    m_sink.AddMessage(tr("Connection closed"));
    if (m_store.Read(Keys::ShowWhenConnected) == 1)
        m_sink.HideWindow();
    m_sink.SetTitle(kIdleTitle);

    const QString record = m_recorder.CallEnded(m_start, now, m_connections.first(),
                                                SentSinceStart(), ReceivedSinceStart());
    Q_EMIT CallEnded(record);
    // After the record went to the log, so the data plan's line counts the call.
    ShowWaitingTray();
    if (m_notifier)
        m_notifier->CallEnded();
    // A look at all interfaces, so the next call's interface is known to be new.
    WatchInterface(QString());
    if (m_counters)
        m_counters->Trigger();

    PlayAction(Keys::ActionWhenConDropped, Keys::SoundWhenConDropped);
    FollowCostTimer();
    if (!m_userHungUp && m_store.Read(Keys::Redial) == 1) {
        if (m_planWatch.MayDialOnItsOwn())
            m_services.DialDefaultConnection(CMonitorServices::DialAsker::Program);
        else
            m_sink.AddMessage(tr("No redial: the data allowance is used up"));
    }
}

void CConnectionMonitor::PlayAction(const CIntKey& actionKey, const CTextKey& soundKey)
{
    const int action = m_store.Read(actionKey);
    if (action == SoundChirp) {
        m_sound.PlayBeeps(kChirpBeeps);
    } else if (action == SoundFile) {
        // The player falls back to the chirp for a file that is missing, unreadable or
        // not given at all.
        m_sound.PlayFile(m_store.Read(soundKey));
    }
}

void CConnectionMonitor::WatchInterface(const QString& interfaceName)
{
    if (m_counters)
        m_counters->SetInterface(interfaceName);
}

CCallStatus CConnectionMonitor::Status() const
{
    CCallStatus status;
    if (!m_connected || m_connections.isEmpty())
        return status;
    const CActiveConnection& call = m_connections.first();
    status.connected = true;
    status.entry = call.entryName;
    status.device = call.deviceName;
    status.start = m_start;
    status.seconds = m_start.secsTo(WholeSeconds(CClock::Now()));
    // The counts as the window shows them.
    status.sent = SentSinceStart();
    status.received = ReceivedSinceStart();
    return status;
}

qint64 CConnectionMonitor::Follow(Count& count, qint64 reading)
{
    count.total = CByteCount::Add(count.total, Difference(reading, count.reading));
    count.reading = reading;
    return count.total;
}

qint64 CConnectionMonitor::SentCount() const
{
    return m_counters ? Follow(m_sent, m_counters->SentBytes()) : m_sent.total;
}

qint64 CConnectionMonitor::ReceivedCount() const
{
    return m_counters ? Follow(m_received, m_counters->ReceivedBytes()) : m_received.total;
}

qint64 CConnectionMonitor::SentSinceStart() const
{
    return SentCount() - m_baseSent;
}

qint64 CConnectionMonitor::ReceivedSinceStart() const
{
    return ReceivedCount() - m_baseReceived;
}

void CConnectionMonitor::HangupCommand(CMessageBox::Question ask)
{
    if (m_connected) {
        m_sink.AddMessage(tr("Hangup..."));
        HangUpAll(ask);
    } else {
        m_sink.AddMessage(tr("Not connected..."));
    }
}

bool CConnectionMonitor::HangUpAll(CMessageBox::Question ask)
{
    if (m_store.Read(Keys::ConfirmHangup) == 1 &&
        !CMessageBox::Confirm(ask,
                              tr("You are about to hang up an active connection. Are you sure?")))
        return false;
    QList<CActiveConnection> connections;
    if (m_remoteAccess.EnumConnections(connections) != 0) {
        CMessageBox::Error(tr("Unknown error: the list of connections cannot be read."));
        return false;
    }
    for (const CActiveConnection& connection : connections) {
        m_userHungUp = true;
        m_remoteAccess.HangUp(connection.handle);
    }
    return true;
}

void CConnectionMonitor::IdleCheck()
{
    if (!m_connected)
        return;
    if (m_idleAction == IdleHangUp) {
        const qint64 sent = m_counters ? m_counters->SentBytes() : 0;
        const qint64 received = m_counters ? m_counters->ReceivedBytes() : 0;
        if (m_idleValid && sent == m_idleSent && received == m_idleReceived) {
            // The idle values stay, so a declined question is asked again next period.
            HangUpAll(CMessageBox::Question::SelfClosing);
        } else {
            m_idleSent = sent;
            m_idleReceived = received;
            m_idleValid = true;
        }
    } else if (m_idleAction == IdleStayOnline) {
        StartMailCheck();
    }
}

void CConnectionMonitor::PeriodicMailCheck()
{
    if (m_connected)
        StartMailCheck();
}

void CConnectionMonitor::FirstMinuteChecks()
{
    if (!m_connected)
        return;
    m_firstMinuteTimer.stop();
    m_services.StartUpgradeCheck();
    StartMailCheck();
}

void CConnectionMonitor::CostChecks()
{
    // Records that could not be written earlier get another chance every minute.
    m_recorder.RetryWaiting(WholeSeconds(CClock::Now()));
    m_costGuard.Check();
    FollowCostTimer();
}

void CConnectionMonitor::FollowCostTimer()
{
    if (m_connected || m_costGuard.RulesSwitchedOn() > 0 || m_recorder.HasWaiting()) {
        if (!m_costTimer.isActive())
            m_costTimer.start();
    } else {
        m_costTimer.stop();
    }
}

QString CConnectionMonitor::WaitingTooltip()
{
    return tr("Waiting for connection...");
}

void CConnectionMonitor::ScheduleTick()
{
    const int result = m_services.ScheduleTick();
    if (result == CScheduleTicker::DialNow) {
        if (m_planWatch.MayDialOnItsOwn())
            m_services.DialDefaultConnection(CMonitorServices::DialAsker::Program);
        else
            m_sink.AddMessage(tr("No scheduled dial: the data allowance is used up"));
    } else if (result == CScheduleTicker::HangupNow)
        HangupCommand(CMessageBox::Question::SelfClosing);
}

void CConnectionMonitor::StartMailCheck()
{
    m_mailResultTimer.start(kMailResultDelayMsecs);
    m_services.StartMailCheckWorker();
}

void CConnectionMonitor::ShowMailResult()
{
    m_mailResultTimer.stop();
    const QString result = MailResult();
    if (result.size() < 5) {
        const QString text = tr("You have %1 new email(s)").arg(result);
        m_mailCount = result.toInt();
        SetMailResult(text);
        m_sink.ShowMailTray(CMonitorSink::PictureMail, text);
        m_sink.SetMailCount(text);
    } else if (result.startsWith(kMailErrorResult)) {
        // The reason, when the check knows one, follows on a line of its own.
        m_sink.ShowMailTray(CMonitorSink::PictureMailError,
                            tr("Error connecting to the email server.") +
                                result.mid(kMailErrorResult.size()));
    }
}

void CConnectionMonitor::SetMailResult(const QString& text)
{
    {
        const std::lock_guard lock(m_mailMutex);
        if (m_mailResult == text)
            return;
        m_mailResult = text;
    }
    Q_EMIT MailResultArrived();
}

QString CConnectionMonitor::MailResult() const
{
    const std::lock_guard lock(m_mailMutex);
    return m_mailResult;
}

void CConnectionMonitor::StartScheduleTicker()
{
    m_scheduleTimer.start(kScheduleTickMsecs);
}

void CConnectionMonitor::ReArm()
{
    ArmFromSettings();
    for (int i = m_costGuard.RulesSwitchedOn(); i > 0; --i)
        CostChecks();
    FollowCostTimer();
    // The data plan may have changed: its line and its warnings follow.
    if (!m_connected)
        ShowWaitingTray();
    const std::optional<CPlanWatch::Call> planCall = PlanCall(WholeSeconds(CClock::Now()));
    CheckPlan(m_planWatch.Usage(planCall), planCall);
}

CCycleUsage CConnectionMonitor::Usage()
{
    return m_planWatch.Usage(PlanCall(WholeSeconds(CClock::Now())));
}

void CConnectionMonitor::SetNotifier(CDesktopNotifier* notifier)
{
    if (m_notifier)
        disconnect(m_notifier, nullptr, this, nullptr);
    m_notifier = notifier;
    m_planWatch.SetNotifier(notifier);
    if (notifier)
        connect(notifier, &CDesktopNotifier::HangUpChosen, this, [this] { HangupCommand(); });
}

std::optional<CPlanWatch::Call> CConnectionMonitor::PlanCall(const QDateTime& now) const
{
    if (!m_connected)
        return std::nullopt;
    return CPlanWatch::Call{m_start, now, ReceivedSinceStart(), SentSinceStart()};
}

void CConnectionMonitor::CheckPlan(const CCycleUsage& usage,
                                   const std::optional<CPlanWatch::Call>& call)
{
    if (const int percent = m_planWatch.Check(usage, call); percent > 0)
        Q_EMIT UsageThresholdPassed(percent);
}

void CConnectionMonitor::ShowWaitingTray()
{
    m_sink.SetTray(CMonitorSink::PictureWaiting,
                   WaitingTooltip() + CPlanWatch::TooltipLine(m_planWatch.Usage(std::nullopt)));
}

void CConnectionMonitor::ArmFromSettings()
{
    if (m_store.Read(Keys::CheckMail) == 1)
        m_mailTimer.start(MinutesToMsecs(m_store.Read(Keys::CMailTime)));
    else
        m_mailTimer.stop();
    m_idleAction = static_cast<IdleAction>(m_store.Read(Keys::HangupComboState));
    if (m_idleAction != IdleDoNothing)
        m_idleTimer.start(MinutesToMsecs(m_store.Read(Keys::HangupInterval)));
    else
        m_idleTimer.stop();
}

int CConnectionMonitor::MinutesToMsecs(int minutes)
{
    // A period of 0 or less would fire without pause; a day is the longest that fits.
    return std::clamp(minutes, 1, kLongestPeriodMinutes) * kMinuteMsecs;
}

const QTimer& CConnectionMonitor::Timer(TimerId id) const
{
    switch (id) {
    case PollTimer:
        return m_pollTimer;
    case IdleTimer:
        return m_idleTimer;
    case MailTimer:
        return m_mailTimer;
    case FirstMinuteTimer:
        return m_firstMinuteTimer;
    case CostTimer:
        return m_costTimer;
    case ScheduleTimer:
        return m_scheduleTimer;
    case MailResultTimer:
        break;
    }
    return m_mailResultTimer;
}
