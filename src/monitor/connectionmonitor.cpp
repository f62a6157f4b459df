#include "monitor/connectionmonitor.h"

#include "billing/summarytext.h"
#include "billing/totals.h"
#include "common/apppaths.h"
#include "common/clock.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "dialer/remoteaccess.h"
#include "monitor/monitorservices.h"
#include "monitor/monitorsink.h"
#include "sound/soundplayer.h"
#include "monitor/trafficcounters.h"

#include <QFileInfo>
#include <QTime>

#include <algorithm>
#include <cstdlib>

const QString CConnectionMonitor::kIdleTitle = QStringLiteral("OrvalisDUI");
const QString CConnectionMonitor::kMailErrorResult =
    QStringLiteral("Error connecting to the server.\nCheck your email settings!");

namespace {

// Counters wrap at 2^32; a difference is taken in 32-bit signed arithmetic.
qint32 Difference(qint32 now, qint32 base)
{
    return static_cast<qint32>(static_cast<quint32>(now) - static_cast<quint32>(base));
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
    , m_rawCounters(&remoteAccess)
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

CConnectionMonitor::~CConnectionMonitor() = default;

void CConnectionMonitor::Start(const QString& userName)
{
    m_userName = userName;
    m_started = true;

    // What the last run left: records for the log, and perhaps a call in progress, which
    // is settled at the first look at the connections.
    QList<QByteArray> waiting;
    for (const QString& path : JournalPaths()) {
        QString problem;
        const CCallJournal::State state = CCallJournal(path).Load(&problem);
        if (!problem.isEmpty())
            m_sink.AddMessage(problem);
        for (const QByteArray& line : state.pending) {
            // A record that reached the log just before the end of the last run is not
            // written twice.
            if (!waiting.contains(line) && !CCallJournal::AlreadyLogged(LogPath(), line))
                waiting.append(line);
        }
        if (state.call && !m_journaledCall)
            m_journaledCall = state.call;
    }
    m_log.Requeue(waiting);
    if (m_log.PendingCount() > 0)
        m_log.Flush(LogPath());
    SaveJournal(WholeSeconds(CClock::Now()));

    ArmFromSettings();
    m_costTimer.start(60000);
    // The first query runs now, so the counters hold values when a call is first seen.
    WatchInterface(QString());
    if (m_counters)
        m_counters->Trigger();
    ArmPollTimer();
}

void CConnectionMonitor::Shutdown()
{
    for (QTimer* timer : {&m_pollTimer, &m_idleTimer, &m_mailTimer, &m_firstMinuteTimer,
                          &m_costTimer, &m_scheduleTimer, &m_mailResultTimer})
        timer->stop();
    if (m_counters)
        m_counters->Cancel();
    if (!m_started || m_shutDown)
        return;
    m_shutDown = true;
    if (m_log.PendingCount() > 0)
        m_log.Flush(LogPath());
    // The call in progress stays in the journal, seen until now: the next start takes it
    // over or logs it as ending here.
    SaveJournal(WholeSeconds(CClock::Now()));
}

QString CConnectionMonitor::WaitingRecordsNote() const
{
    const qsizetype waiting = m_log.PendingCount();
    if (waiting == 0)
        return QString();
    return QStringLiteral("%1 call record(s) could not be written to %2. They are kept in %3 "
                          "and will be written when Orvalis starts again.")
        .arg(waiting)
        .arg(LogPath(), JournalPath());
}

QString CConnectionMonitor::JournalPath() const
{
    const QStringList paths = JournalPaths();
    return m_journalFallback && paths.size() > 1 ? paths.last() : paths.first();
}

QStringList CConnectionMonitor::JournalPaths() const
{
    // Beside the log; beside the settings when the log's folder cannot take it.
    const QString name = QStringLiteral("logfile.journal");
    const QString besideLog = CAppPaths::LogFolder(m_store) + u'/' + name;
    const QString besideSettings = CAppPaths::DefaultLogFolder(m_store) + name;
    if (QFileInfo(besideLog).absoluteFilePath() == QFileInfo(besideSettings).absoluteFilePath())
        return {besideLog};
    return {besideLog, besideSettings};
}

void CConnectionMonitor::SaveJournal(const QDateTime& now, const QByteArray& alsoPending)
{
    if (!m_started)
        return;
    CCallJournal::State state;
    state.pending = m_log.Pending();
    if (!alsoPending.isEmpty())
        state.pending.append(alsoPending);
    if (m_connected && !m_connections.isEmpty()) {
        const CActiveConnection& connection = m_connections.first();
        CCallJournal::Call call;
        call.start = m_start;
        call.lastSeen = now;
        call.user = m_userName;
        call.device = connection.deviceName;
        call.entry = connection.entryName;
        call.interfaceName = connection.interfaceName;
        call.sent = SentSinceStart();
        call.received = ReceivedSinceStart();
        CInterfaceCounters::Reading reading;
        if (!connection.interfaceName.isEmpty() &&
            m_rawCounters.Read(connection.interfaceName, reading)) {
            call.counterSource = reading.source;
            call.counterIndex = reading.index;
            call.counterReceived = reading.received;
            call.counterSent = reading.sent;
        }
        state.call = call;
    } else if (m_journaledCall) {
        state.call = m_journaledCall;
    }
    const QStringList paths = JournalPaths();
    m_journalFallback = !CCallJournal(paths.first()).Save(state);
    if (paths.size() > 1) {
        // Only one journal holds the state: the other one is emptied.
        CCallJournal(paths.last()).Save(m_journalFallback ? state : CCallJournal::State());
    }
    m_lastJournal = now;
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
    const QDateTime now = WholeSeconds(CClock::Now());
    if (m_lastTick.isValid() && now == m_lastTick)
        return;
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
            CMessageBox::Error(tr("Unknown Error - RAS INI Failure"));
        }
        return;
    }
    m_enumErrorShown = false;

    if (m_journaledCall)
        SettleJournaledCall(connections, now);
    if (!connections.isEmpty()) {
        m_connections = connections;
        if (!m_connected)
            NewConnection(now);
        ConnectedTick(now);
    } else if (m_connected) {
        ConnectionGone(now);
    }
}

void CConnectionMonitor::ClockSteppedBack(const QDateTime& now)
{
    // The wall clock went back (a time service at boot, a wrong hardware clock). The
    // call's start moves with it, as if one second had passed since the last tick, so the
    // duration goes on from where it was.
    if (m_connected)
        m_start = m_start.addSecs(m_lastTick.secsTo(now) - 1);
}

void CConnectionMonitor::SettleJournaledCall(const QList<CActiveConnection>& connections,
                                             const QDateTime& now)
{
    const CCallJournal::Call call = *m_journaledCall;
    m_journaledCall.reset();
    const bool stillUp = !m_connected && !connections.isEmpty() &&
                         connections.first().entryName == call.entry &&
                         connections.first().interfaceName == call.interfaceName;
    if (stillUp) {
        m_connections = connections;
        NewConnection(now, &call);
        return;
    }
    const QByteArray record = CCallJournal::RecordOf(call);
    if (!CCallJournal::AlreadyLogged(LogPath(), record)) {
        // Journaled first, so a failure of the log keeps the record in the journal.
        SaveJournal(now, record);
        m_log.Append(LogPath(), QString::fromUtf8(record));
    }
    SaveJournal(now);
}

void CConnectionMonitor::NewConnection(const QDateTime& now, const CCallJournal::Call* takenOver)
{
    m_start = takenOver ? takenOver->start : now;
    WatchInterface(m_connections.first().interfaceName);
    if (m_counters) {
        m_counters->Trigger();
        m_baseSent = m_counters->SentBytes();
        m_baseReceived = m_counters->ReceivedBytes();
    } else {
        m_baseSent = 0;
        m_baseReceived = 0;
    }
    if (takenOver) {
        // The bytes the call carried before this run, plus what its interface carried
        // while the program was not watching.
        qint32 sent = takenOver->sent;
        qint32 received = takenOver->received;
        CInterfaceCounters::Reading reading;
        if (!takenOver->counterSource.isEmpty() &&
            m_rawCounters.Read(takenOver->interfaceName, reading) &&
            reading.source == takenOver->counterSource &&
            reading.index == takenOver->counterIndex &&
            reading.received >= takenOver->counterReceived &&
            reading.sent >= takenOver->counterSent) {
            sent = static_cast<qint32>(static_cast<quint32>(sent) +
                                       static_cast<quint32>(reading.sent - takenOver->counterSent));
            received = static_cast<qint32>(
                static_cast<quint32>(received) +
                static_cast<quint32>(reading.received - takenOver->counterReceived));
        }
        m_baseSent = Difference(m_baseSent, sent);
        m_baseReceived = Difference(m_baseReceived, received);
    }
    m_connected = true;
    if (m_store.Read(Keys::ShowWhenConnected) == 1)
        m_sink.ShowWindow();
    m_sink.AddMessage(tr("Connection %1 detected").arg(m_connections.first().entryName));
    PlayAction(Keys::ActionWhenConMade, Keys::SoundWhenConMade);
    m_firstMinuteTimer.start(60000);
    SaveJournal(now);
}

void CConnectionMonitor::ConnectedTick(const QDateTime& now)
{
    const QString elapsed = CSummaryText::SpanText(m_start.secsTo(now));
    m_sink.SetCallValues(elapsed, QString::number(ReceivedSinceStart()),
                         QString::number(SentSinceStart()));
    m_sink.SetTray(CMonitorSink::PictureConnected, tr("Connected - %1").arg(elapsed));
    m_sink.SetTitle(elapsed);
    if (m_counters)
        m_counters->Trigger();
    m_connected = true;
    if (!m_lastJournal.isValid() || std::abs(m_lastJournal.secsTo(now)) >= 60)
        SaveJournal(now);
}

void CConnectionMonitor::ConnectionGone(const QDateTime& now)
{
    m_connected = false;
    m_sink.AddMessage(tr("Connection closed"));
    m_sink.SetTray(CMonitorSink::PictureWaiting, WaitingTooltip());
    if (m_store.Read(Keys::ShowWhenConnected) == 1)
        m_sink.HideWindow();
    m_sink.SetTitle(kIdleTitle);

    const CActiveConnection& call = m_connections.first();
    const QString line =
        CLogFile::FormatRecord(m_start, now, m_userName, call.deviceName, call.entryName,
                               SentSinceStart(), ReceivedSinceStart());
    // The journal holds the record until the log has it: a crash in between loses nothing,
    // and the next start does not write it twice.
    SaveJournal(now, line.toUtf8());
    m_log.Append(LogPath(), line);
    SaveJournal(now);
    // A look at all interfaces, so the next call's interface is known to be new.
    WatchInterface(QString());
    if (m_counters)
        m_counters->Trigger();

    PlayAction(Keys::ActionWhenConDropped, Keys::SoundWhenConDropped);
    if (!m_userHungUp && m_store.Read(Keys::Redial) == 1)
        m_services.DialDefaultConnection();
}

void CConnectionMonitor::PlayAction(const CIntKey& actionKey, const CTextKey& soundKey)
{
    const int action = m_store.Read(actionKey);
    if (action == 1) {
        m_sound.PlayBeeps(2);
    } else if (action == 2) {
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
    // The counters as the window shows them: a 32-bit count that may have wrapped reads
    // as its unsigned value.
    status.sent = static_cast<quint32>(SentSinceStart());
    status.received = static_cast<quint32>(ReceivedSinceStart());
    return status;
}

qint32 CConnectionMonitor::SentSinceStart() const
{
    return m_counters ? Difference(m_counters->SentBytes(), m_baseSent) : 0;
}

qint32 CConnectionMonitor::ReceivedSinceStart() const
{
    return m_counters ? Difference(m_counters->ReceivedBytes(), m_baseReceived) : 0;
}

void CConnectionMonitor::HangupCommand(bool ask)
{
    if (m_connected) {
        m_sink.AddMessage(tr("Hangup..."));
        HangUpAll(ask);
    } else {
        m_sink.AddMessage(tr("Not connected..."));
    }
}

bool CConnectionMonitor::HangUpAll(bool ask)
{
    if (ask && m_store.Read(Keys::ConfirmHangup) == 1 &&
        !CMessageBox::Ask(tr("You are about to hangup an active connection. Are you sure ?")))
        return false;
    QList<CActiveConnection> connections;
    if (m_remoteAccess.EnumConnections(connections) != 0) {
        CMessageBox::Error(tr("Unknown Error - RAS INI Failure"));
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
    if (m_hangupAction == 1) {
        const qint32 sent = m_counters ? m_counters->SentBytes() : 0;
        const qint32 received = m_counters ? m_counters->ReceivedBytes() : 0;
        if (m_idleValid && sent == m_idleSent && received == m_idleReceived) {
            // The idle values stay, so a declined question is asked again next period.
            HangUpAll();
        } else {
            m_idleSent = sent;
            m_idleReceived = received;
            m_idleValid = true;
        }
    } else if (m_hangupAction == 2) {
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
    if (m_log.PendingCount() > 0) {
        m_log.Flush(LogPath());
        SaveJournal(WholeSeconds(CClock::Now()));
    }

    const CTotals totals = m_totals.Compute(m_store);
    const auto over = [this](const CIntKey& limitKey, double cost) {
        return static_cast<double>(m_store.Read(limitKey)) < cost;
    };

    if (m_store.Read(Keys::WarnWhenMonth) == 1 &&
        over(Keys::WarnWhenMonthInterval, totals.totalCost)) {
        ShowCostBox(WarnMonth, [&] {
            CMessageBox::Warning(
                tr("Warning - cost per month too high. See Preferences->Warnings. Cost : %1")
                    .arg(CTariff::PriceText(totals.totalCost)));
        });
    }
    if (m_store.Read(Keys::WarnWhenCall) == 1 &&
        over(Keys::WarnWhenCallInterval, totals.averageCost)) {
        ShowCostBox(WarnCall, [&] {
            CMessageBox::Warning(
                tr("Warning - cost per call too high. See Preferences->Warnings. Cost : %1")
                    .arg(CTariff::PriceText(totals.averageCost)));
        });
    }
    if (m_store.Read(Keys::DisWhenMonth) == 1 &&
        over(Keys::DisWhenMonthInterval, totals.totalCost)) {
        ShowCostBox(LimitMonth, [&] {
            HangUpAll();
            CMessageBox::Inform(tr("Warning - cost per month too high. See "
                                   "Preferences->Warnings. Connection closed."));
        });
    }
    if (m_store.Read(Keys::DisWhenCall) == 1 &&
        over(Keys::DisWhenCallInterval, totals.averageCost)) {
        ShowCostBox(LimitCall, [&] {
            HangUpAll();
            CMessageBox::Inform(tr("Warning - cost per call too high. See "
                                   "Preferences->Warnings. Connection closed."));
        });
    }
}

bool CConnectionMonitor::ShowCostBox(CostBox kind, const std::function<void()>& show)
{
    // The checks run every minute, also underneath an open box: a box of the same kind
    // that is still open is not shown again.
    if (m_openCostBoxes & kind)
        return false;
    m_openCostBoxes |= kind;
    show();
    m_openCostBoxes &= ~kind;
    return true;
}

QString CConnectionMonitor::WaitingTooltip()
{
    return tr("Waiting for connection...");
}

void CConnectionMonitor::ScheduleTick()
{
    const int result = m_services.ScheduleTick();
    if (result == 1)
        m_services.DialDefaultConnection();
    else if (result == 2)
        HangupCommand();
}

void CConnectionMonitor::StartMailCheck()
{
    m_mailResultTimer.start(100);
    m_services.StartMailCheckWorker();
}

void CConnectionMonitor::ShowMailResult()
{
    m_mailResultTimer.stop();
    const QString result = MailResult();
    if (result.size() < 5) {
        const QString text = tr("You have %1 new email(s)").arg(result);
        SetMailResult(text);
        m_sink.ShowMailTray(CMonitorSink::PictureMail, text);
        m_sink.SetMailCount(text);
    } else if (result == kMailErrorResult) {
        m_sink.ShowMailTray(CMonitorSink::PictureMailError, tr("Error connecting email server!"));
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
    m_scheduleTimer.start(1000);
}

void CConnectionMonitor::ReArm()
{
    ArmFromSettings();
    for (const CIntKey& flag :
         {Keys::WarnWhenMonth, Keys::WarnWhenCall, Keys::DisWhenMonth, Keys::DisWhenCall}) {
        if (m_store.Read(flag) != 0)
            CostChecks();
    }
}

void CConnectionMonitor::ArmFromSettings()
{
    if (m_store.Read(Keys::CheckMail) == 1)
        m_mailTimer.start(MinutesToMsecs(m_store.Read(Keys::CMailTime)));
    else
        m_mailTimer.stop();
    m_hangupAction = m_store.Read(Keys::HangupComboState);
    if (m_hangupAction != 0)
        m_idleTimer.start(MinutesToMsecs(m_store.Read(Keys::HangupInterval)));
    else
        m_idleTimer.stop();
}

int CConnectionMonitor::MinutesToMsecs(int minutes)
{
    // A period of 0 or less would fire without pause; a day is the longest that fits.
    return std::clamp(minutes, 1, 24 * 60) * 60000;
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

QString CConnectionMonitor::LogPath() const
{
    return CAppPaths::LogFile(m_store);
}
