#pragma once

// For window tests only (needs the window library): the windows that commands open, over
// the test's settings and fakes, with the password guards and the dial window's check
// runner left to the test.

#include "app/gui/windowopener.h"
#include "dialer/credentialstore.h"
#include "dialer/scheduleticker.h"

#include "support/monitorfakes.h"
#include "support/scriptedremoteaccess.h"

#include <functional>
#include <memory>

struct CWindowOpenerRig {
    CScriptedRemoteAccess remote;
    CCredentialStore credentials;
    CScheduleTicker ticker;
    CRecordingSink messages;
    // Unset, the windows open and checks go nowhere.
    std::function<bool()> mayOpenPreferences;
    std::function<bool()> mayOpenSchedule;
    std::function<void(CDialDlg::Mode, std::unique_ptr<CDialCheck>)> runCheck;
    // Unset, the Data plan page is told of no plan.
    std::function<CCycleUsage()> cycleUsage;
    CWindowOpener windows;

    CWindowOpenerRig(CSettingsStore& store, CSoundPlayer& sound)
        : credentials(&store)
        , ticker(store)
        , windows({store, sound, remote, credentials, ticker, messages,
                   [this] { return !mayOpenPreferences || mayOpenPreferences(); },
                   [this] { return !mayOpenSchedule || mayOpenSchedule(); },
                   [this](CDialDlg::Mode mode, std::unique_ptr<CDialCheck> check) {
                       if (runCheck)
                           runCheck(mode, std::move(check));
                   },
                   [this] { return cycleUsage ? cycleUsage() : CCycleUsage{}; }})
    {}
};
