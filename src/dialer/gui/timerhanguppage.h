#pragma once

#include "dialer/gui/timerpage.h"

// The "Hangup" page of the schedule window: the scheduled hang-up.
class CTimerHangupPage : public CTimerPage {
    Q_OBJECT
public:
    CTimerHangupPage(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent = nullptr);
};
