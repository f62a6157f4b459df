#include "dialer/gui/timerhanguppage.h"

CTimerHangupPage::CTimerHangupPage(CScheduleTicker& ticker, CSettingsStore& store, QWidget* parent)
    : CTimerPage(ticker, store, CScheduleTicker::Hangup,
                 Texts{tr("Start Hangup at time:"), tr("Start Hangup in:"),
                       tr("Start hangup sequence"), tr("Stop hangup sequence"),
                       tr("Hangup sequence terminated")},
                 parent)
{}
