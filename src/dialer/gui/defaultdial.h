#pragma once

#include "dialer/gui/dialerparts.h"

class QWidget;

// Dials the default connection: the credentials window, then (on OK) the dial window.
class CDefaultDial {
public:
    // announce: the main window's message list gets "Connecting..." before the dial window
    // opens (not so for the Connections window's "Dial").
    static void Run(const CDialerParts& parts, bool announce, QWidget* parent);
};
