#pragma once

#include "dialer/dialcheck.h"
#include "dialer/dialrequestqueue.h"
#include "dialer/gui/dialdlg.h"
#include "dialer/gui/dialerparts.h"

#include <memory>

class QWidget;

// The way into the dial window for dials and server checks. Asks CDialRequestQueue what
// the open window (the dial window, or the credentials window of a dial being started)
// makes of a request, acts on the answer, and runs what waits once that window has closed.
class CDialWindowGate {
public:
    using Request = CDialRequestQueue::Request;

    // Dials the default connection (the credentials window, then the dial window); request
    // is ProgramDial or HandDial. announce: see CDefaultDial::Run.
    static void Dial(Request request, const CDialerParts& parts, bool announce, QWidget* parent);
    // Runs a check in the dial window (modes UpgradeCheck and MailCheck).
    static void Check(CDialDlg::Mode mode, std::unique_ptr<CDialCheck> check, QWidget* parent);

    // What is open in the dial window's place now.
    static CDialRequestQueue::Window OpenWindow();
    // The requests that wait.
    static CDialRequestQueue& Queue();
    // A window in the dial window's place has closed: the request that waits longest runs
    // once the closing is over (and nothing else is open then).
    static void WindowClosed();

private:
    static bool Admit(Request request, std::function<void()> run);
    static void RunWaiting();
};
