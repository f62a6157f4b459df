#include "dialer/scheduleticker.h"

#include "common/clock.h"
#include "common/settingsstore.h"

#include <QCoreApplication>
#include <QFile>

#include <sys/stat.h>

namespace {
QString StoppedText(CScheduleTicker::Sequence sequence)
{
    return sequence == CScheduleTicker::Dial
               ? QCoreApplication::translate("CScheduleTicker", "Dial sequence stopped")
               : QCoreApplication::translate("CScheduleTicker", "Hangup sequence stopped");
}

QString WaitingText(CScheduleTicker::Sequence sequence)
{
    return sequence == CScheduleTicker::Dial
               ? QCoreApplication::translate("CScheduleTicker", "Dialing at : ")
               : QCoreApplication::translate("CScheduleTicker", "Hangup at : ");
}

// The hour is the number in the first two characters, the minute the one in the fourth and
// fifth: "7:30:00" is hour 7, minute 0.
bool IsDue(const QString& time)
{
    const QTime now = CClock::Now().time();
    return now.hour() == CSettingsStore::ParseLeadingInt(QStringView(time).left(2)) &&
           now.minute() == CSettingsStore::ParseLeadingInt(QStringView(time).mid(3, 2));
}
} // namespace

const CScheduleTicker::SequenceKeys& CScheduleTicker::KeysOf(Sequence sequence)
{
    static const SequenceKeys dial{Keys::DialSecsToDial,    Keys::DAtTime,
                                   Keys::DAfterTime,        Keys::DialTime,
                                   Keys::DialTimerInterval, Keys::DialSequenceComboState,
                                   Keys::DialTimerStatus};
    static const SequenceKeys hangup{Keys::HangupSecsToHangup,  Keys::HAtTime,
                                     Keys::HAfterTime,          Keys::HangupTime,
                                     Keys::HangupTimerInterval, Keys::HangupSequenceComboState,
                                     Keys::HangupTimerStatus};
    return sequence == Dial ? dial : hangup;
}

CScheduleTicker::CScheduleTicker(CSettingsStore& store)
    : m_store(store)
{
    m_stamp = Stamp();
    Load(false);
}

CScheduleTicker::Result CScheduleTicker::Tick()
{
    ReloadIfChanged();
    if (Step(Dial))
        return DialNow;
    return Step(Hangup) ? HangupNow : Nothing;
}

bool CScheduleTicker::Step(Sequence sequence)
{
    State& state = m_states[sequence];
    // Compared unsigned: a negative counter is a running one that never reaches 1.
    const auto counter = static_cast<unsigned>(state.counter);
    if (counter == 0) {
        if (sequence == Dial && m_dialFired && m_dialWaits && m_dialWaits()) {
            ShowStatus(sequence,
                       QCoreApplication::translate("CScheduleTicker",
                                                   "Dial waits for the open window to close"),
                       true);
            return false;
        }
        if (sequence == Dial)
            m_dialFired = false;
        ShowStatus(sequence, StoppedText(sequence), true);
        return false;
    }
    if (counter == 1)
        return Fire(sequence);
    if (state.atTime == 0) {
        // The line of every later second stays in memory. The old program paused the
        // window for 100 ms here; nothing needs that pause, so there is none.
        ShowStatus(sequence,
                   QCoreApplication::translate("CScheduleTicker", "Time remaining : ") +
                       RemainingText(state.counter),
                   state.announce);
        state.counter = static_cast<int>(counter - 1U);
        return false;
    }
    if (state.atTime == 1) {
        ShowStatus(sequence, WaitingText(sequence) + state.time, true);
        if (IsDue(state.time))
            return Fire(sequence);
    }
    // Any other flag: running, but neither counting nor firing.
    return false;
}

bool CScheduleTicker::Fire(Sequence sequence)
{
    m_states[sequence].counter = 0;
    WriteCounter(sequence);
    if (sequence == Dial)
        m_dialFired = true;
    return true;
}

void CScheduleTicker::Start(Sequence sequence, const StartRequest& request)
{
    ReloadIfChanged();
    State& state = m_states[sequence];
    const SequenceKeys& keys = KeysOf(sequence);
    if (request.atTime) {
        state.counter = kWaitingMarker;
        WriteCounter(sequence);
        state.time = request.time;
        state.storedTime = request.time;
        m_store.Write(keys.time, request.time);
    } else if (request.after) {
        state.counter = request.seconds;
        WriteCounter(sequence);
    }
    state.atTime = request.atTime ? 1 : 0;
    state.storedAtTime = state.atTime;
    m_store.Write(keys.atTime, state.atTime);
    m_store.Write(keys.afterTime, request.after ? 1 : 0);
    state.announce = true;
    m_stamp = Stamp();
}

void CScheduleTicker::Stop(Sequence sequence)
{
    ReloadIfChanged();
    m_states[sequence].counter = 0;
    WriteCounter(sequence);
}

int CScheduleTicker::Counter(Sequence sequence) const
{
    return m_states[sequence].counter;
}

QString CScheduleTicker::Status(Sequence sequence) const
{
    return m_states[sequence].status;
}

QString CScheduleTicker::RemainingText(int seconds)
{
    constexpr int kDay = 24 * 3600;
    const int inDay = (seconds % kDay + kDay) % kDay;
    return QStringLiteral("%1:%2:%3")
        .arg(inDay / 3600, 2, 10, QLatin1Char('0'))
        .arg(inDay / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(inDay % 60, 2, 10, QLatin1Char('0'));
}

void CScheduleTicker::Load(bool onlyChanged)
{
    for (const Sequence sequence : {Dial, Hangup}) {
        State& state = m_states[sequence];
        const SequenceKeys& keys = KeysOf(sequence);
        const int counter = m_store.Read(keys.counter);
        const int atTime = m_store.Read(keys.atTime);
        const QString time = m_store.Read(keys.time, QString());
        const QString status = m_store.Read(keys.status);
        if (!onlyChanged || counter != state.storedCounter) {
            state.counter = counter;
            state.storedCounter = counter;
            state.announce = true;
        }
        if (!onlyChanged || atTime != state.storedAtTime) {
            state.atTime = atTime;
            state.storedAtTime = atTime;
        }
        if (!onlyChanged || time != state.storedTime) {
            state.time = time;
            state.storedTime = time;
        }
        if (!onlyChanged || status != state.storedStatus) {
            state.status = status;
            state.storedStatus = status;
        }
    }
}

void CScheduleTicker::ReloadIfChanged()
{
    const FileStamp now = Stamp();
    if (now == m_stamp)
        return;
    // Taken before reading, so a change made while reading is seen next time.
    m_stamp = now;
    Load(true);
}

CScheduleTicker::FileStamp CScheduleTicker::Stamp() const
{
    // Every write of the store replaces the file, so its inode changes with each one; the
    // time and size catch an editor that writes in place.
    struct stat info {};
    if (::stat(QFile::encodeName(m_store.Path()).constData(), &info) != 0)
        return FileStamp{};
    return FileStamp{true, info.st_ino,
                     qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
                     qint64(info.st_size)};
}

void CScheduleTicker::WriteCounter(Sequence sequence)
{
    State& state = m_states[sequence];
    state.storedCounter = state.counter;
    m_store.Write(KeysOf(sequence).counter, state.counter);
    m_stamp = Stamp();
}

void CScheduleTicker::ShowStatus(Sequence sequence, const QString& text, bool store)
{
    State& state = m_states[sequence];
    state.status = text;
    state.announce = false;
    if (!store || text == state.storedStatus)
        return;
    state.storedStatus = text;
    m_store.Write(KeysOf(sequence).status, text);
    m_stamp = Stamp();
}
