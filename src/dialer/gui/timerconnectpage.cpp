#include "dialer/gui/timerconnectpage.h"

CTimerConnectPage::CTimerConnectPage(CScheduleTicker& ticker, CSettingsStore& store,
                                     QWidget* parent)
    : CTimerPage(ticker, store, CScheduleTicker::Dial,
                 Texts{tr("Start dialing at time:"), tr("Start dialing in:"),
                       tr("Start dialup sequence"), tr("Stop dialup sequence"), QString()},
                 parent)
{}
