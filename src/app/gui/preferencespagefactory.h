#pragma once

#include "billing/cycleusage.h"
#include "prefs/preferencessheet.h"

#include <functional>
#include <memory>

class CCredentialStore;
class CPreferencesPage;
class CSettingsStore;
class CSoundPlayer;

// Makes the pages of the preferences window, each over what it edits.
class CPreferencesPageFactory {
public:
    // The Email and Upgrade pages' buttons run `checkMail` and `checkUpdate`; the Data plan
    // page shows what `cycleUsage` says of the current cycle.
    CPreferencesPageFactory(CSettingsStore& store, CSoundPlayer& sound,
                            CCredentialStore& credentials, std::function<void()> checkMail,
                            std::function<void()> checkUpdate,
                            std::function<CCycleUsage()> cycleUsage);

    std::unique_ptr<CPreferencesPage> Make(CPreferencesSheet::Page page) const;

private:
    CSettingsStore& m_store;
    CSoundPlayer& m_sound;
    CCredentialStore& m_credentials;
    std::function<void()> m_checkMail;
    std::function<void()> m_checkUpdate;
    std::function<CCycleUsage()> m_cycleUsage;
};
