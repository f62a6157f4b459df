#pragma once

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"

#include <QTemporaryDir>

class CDialSession;

// What the dial tests start from: a settings file of their own whose default entry
// "Home ISP" has the remembered credentials alice / s3cret, and a credential store that
// looks for no keyring.
struct CDialFixture {
    CDialFixture();

    // Checks that the session's next attempt is due after expectedInterval ms, then runs it
    // at once.
    static void FireAttempt(CDialSession& session, int expectedInterval);

    QTemporaryDir dir;
    CSettingsStore store;
    CCredentialStore credentials;
};
