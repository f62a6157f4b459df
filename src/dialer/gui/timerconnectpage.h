#pragma once

#include "dialer/gui/timerpage.h"

// The "Connect" page of the schedule window: the scheduled dial.
class CTimerConnectPage : public CTimerPage {
    Q_OBJECT
public:
    CTimerConnectPage(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent = nullptr);
};
