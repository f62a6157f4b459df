#pragma once

#include <functional>
#include <vector>

// Decides what happens to a dial or a server check asked for while the dial window (or the
// credentials window of a dial being started) is open, and keeps the requests that wait for
// that window to close. Only one such window is open at a time.
//
// - A dial the program asks for itself (a redial after a drop, a scheduled dial) is never
//   lost: a finished result gives way to it, a dial under way takes it in, anything else
//   makes it wait.
// - A dial asked for by hand: a finished result gives way to it; otherwise the open window
//   comes to the front, as ever.
// - A check: the same kind of check takes it in (the window comes to the front); a finished
//   result of something else gives way to it; a dial or the other check under way makes it
//   wait.
// At most one request of each kind waits; a dial that starts takes in a dial that waits.
class CDialRequestQueue {
public:
    // What is open in the dial window's place.
    enum class Window {
        None,
        MailCheckRunning,
        MailCheckDone,
        UpgradeCheckRunning,
        UpgradeCheckDone,
        DialRunning,
        // The dial ended and its window shows OK.
        DialDone,
        // The credentials window of a dial being started.
        Credentials
    };
    enum class Request { ProgramDial, HandDial, MailCheck, UpgradeCheck };
    enum class Answer {
        // Nothing is in the way: the request runs now.
        Start,
        // The open window takes the request in and comes to the front; nothing runs.
        Absorb,
        // The open window closes and the request runs now.
        Replace,
        // The request runs once the open window has closed.
        Wait
    };

    // The rule alone, without keeping anything.
    static Answer Decide(Window open, Request request);

    // Decides; a request that waits keeps `run` for TakeNext() (a second request of a kind
    // that already waits is dropped: the one waiting is enough). A dial that starts or
    // replaces the window drops a dial that waits, and a check its own kind's.
    Answer Ask(Window open, Request request, std::function<void()> run);

    // The open window has closed: the request that has waited longest, taken out (empty
    // when none waits).
    std::function<void()> TakeNext();

    bool IsWaiting(Request request) const;
    int WaitingCount() const { return static_cast<int>(m_waiting.size()); }
    void Clear() { m_waiting.clear(); }

private:
    struct Waiting {
        Request request;
        std::function<void()> run;
    };
    void Drop(Request request);

    std::vector<Waiting> m_waiting;
};
