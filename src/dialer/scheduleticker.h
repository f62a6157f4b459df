#pragma once

#include "common/settingskeys.h"

#include <QString>

#include <array>
#include <functional>
#include <sys/types.h>

class CSettingsStore;

// The scheduled dial and the scheduled hang-up. Each waits either for a time of day or for
// a countdown in seconds; Tick(), called once a second, advances both and says when to dial
// or hang up. The schedule window's pages start and stop the two sequences through this
// object and show its status lines.
//
// The running state is kept here, in memory, and written to the settings only when
// something another reader could need changes, never once a second:
// - Start writes the counter (the countdown's full length in seconds, or 10 while waiting
//   for a time of day), the two choice flags and, for a time of day, the time text;
// - the first tick of a started sequence writes its status line ("Time remaining : " with
//   the full length, or "Dialing at : " with the time);
// - firing and Stop write the counter 0; the next tick writes the "stopped" line.
// So a running sequence's stored counter is above 1 and a stopped one's 0, as ever, but a
// countdown's stored counter and "Time remaining" line keep their values from its start;
// the seconds left live here (Counter(), Status()).
//
// The settings are read when the object is made and again whenever the file has been
// replaced or changed since this object last looked (one stat() a tick): a value that
// differs from what this object last read or wrote was changed by someone else (a script,
// another copy of the program) and is taken over.
class CScheduleTicker {
public:
    enum Sequence { Dial, Hangup };
    static constexpr int kSequenceCount = 2;
    // What Tick() asks for.
    enum Result { Nothing = 0, DialNow = 1, HangupNow = 2 };
    // The counter of a sequence that waits for a time of day.
    static constexpr int kWaitingMarker = 10;

    // The settings of one sequence.
    struct SequenceKeys {
        const CIntKey& counter;
        const CIntKey& atTime;
        const CIntKey& afterTime;
        const CTextKey& time;
        const CIntKey& interval;
        const CIntKey& unit;
        const CTextKey& status;
    };
    static const SequenceKeys& KeysOf(Sequence sequence);

    // What a page's "Start" button asks for: which choice is marked, the time of day typed
    // and the countdown in seconds.
    struct StartRequest {
        bool atTime = false;
        bool after = false;
        QString time;
        int seconds = 0;
    };

    explicit CScheduleTicker(CSettingsStore& store);

    // One second of both sequences; the dial is looked at first, and when it fires the
    // hang-up waits for the next tick.
    Result Tick();

    // Marked "at time": waits for the time of day. Marked "in": counts down the seconds.
    // Neither: only the flags change. Takes effect at once.
    void Start(Sequence sequence, const StartRequest& request);
    // Says whether a dial the program asked for waits for an open window. After the dial
    // sequence has fired, its status line says the dial waits (instead of "stopped") for as
    // long as this says yes.
    void SetDialWaits(std::function<bool()> dialWaits) { m_dialWaits = std::move(dialWaits); }
    void Stop(Sequence sequence);

    int Counter(Sequence sequence) const;
    // The status line as the last tick left it (the stored one before the first tick).
    QString Status(Sequence sequence) const;

    // Seconds as "hh:mm:ss", hours within the day (whole days are not shown).
    static QString RemainingText(int seconds);

private:
    struct State {
        int counter = 0;
        int atTime = 0;
        QString time;
        QString status;
        // Started since the last tick: the next status line is written.
        bool announce = false;
        // What the file holds, as far as this object knows.
        int storedCounter = 0;
        int storedAtTime = 0;
        QString storedTime;
        QString storedStatus;
    };
    struct FileStamp {
        bool exists = false;
        ino_t inode = 0;
        qint64 mtimeNs = 0;
        qint64 size = 0;
        bool operator==(const FileStamp&) const = default;
    };

    bool Step(Sequence sequence);
    bool Fire(Sequence sequence);
    void Load(bool onlyChanged);
    void ReloadIfChanged();
    FileStamp Stamp() const;
    void WriteCounter(Sequence sequence);
    void ShowStatus(Sequence sequence, const QString& text, bool store);

    CSettingsStore& m_store;
    std::function<bool()> m_dialWaits;
    // The dial sequence fired and its dial may still wait.
    bool m_dialFired = false;
    std::array<State, kSequenceCount> m_states;
    FileStamp m_stamp;
};
