#pragma once

#include "dialer/gui/dialerparts.h"

class QWidget;

// Dials the default connection: the credentials window, then (on OK) the dial window.
class CDefaultDial {
public:
    // A dial asked for by hand. announce: the main window's message list gets
    // "Connecting..." before the dial window opens (not so for the Connections window's
    // "Dial"). An open dial window comes to the front instead, unless it only shows a
    // finished result: that one closes and the dial starts.
    static void Run(const CDialerParts& parts, bool announce, QWidget* parent);
    // A dial the program asks for itself (a redial, a scheduled dial): never lost, see
    // CDialRequestQueue. Announced like Run with announce set.
    static void RunOnItsOwn(const CDialerParts& parts, QWidget* parent);

    // Starts the dial now, whatever else is open (CDialWindowGate has let it through).
    static void Start(const CDialerParts& parts, bool announce, QWidget* parent);
    // The credentials window of a dial being started is open.
    static bool IsAsking();
    // Brings that window to the front; false when there is none.
    static bool RaiseAsking();
};
