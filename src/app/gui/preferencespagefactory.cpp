#include "app/gui/preferencespagefactory.h"

#include "app/gui/optgeneralpage.h"
#include "billing/gui/optdataplanpage.h"
#include "billing/gui/optpricepage.h"
#include "dialer/gui/optconnectionpage.h"
#include "mail/gui/optmailpage.h"
#include "monitor/gui/optwarningspage.h"
#include "sound/gui/optsoundpage.h"
#include "update/gui/optupgradepage.h"

CPreferencesPageFactory::CPreferencesPageFactory(CSettingsStore& store, CSoundPlayer& sound,
                                                 CCredentialStore& credentials,
                                                 std::function<void()> checkMail,
                                                 std::function<void()> checkUpdate,
                                                 std::function<CCycleUsage()> cycleUsage)
    : m_store(store)
    , m_sound(sound)
    , m_credentials(credentials)
    , m_checkMail(std::move(checkMail))
    , m_checkUpdate(std::move(checkUpdate))
    , m_cycleUsage(std::move(cycleUsage))
{}

std::unique_ptr<CPreferencesPage> CPreferencesPageFactory::Make(CPreferencesSheet::Page page) const
{
    switch (page) {
    case CPreferencesSheet::General:
        return std::make_unique<COptGeneralPage>(m_store);
    case CPreferencesSheet::Connection:
        return std::make_unique<COptConnectionPage>(m_store);
    case CPreferencesSheet::Email:
        return std::make_unique<COptMailPage>(m_store, m_credentials, m_checkMail);
    case CPreferencesSheet::Warnings:
        return std::make_unique<COptWarningsPage>(m_store);
    case CPreferencesSheet::Price:
        return std::make_unique<COptPricePage>(m_store);
    case CPreferencesSheet::DataPlan:
        return std::make_unique<COptDataPlanPage>(m_store, m_cycleUsage);
    case CPreferencesSheet::Sounds:
        return std::make_unique<COptSoundPage>(m_store, m_sound);
    case CPreferencesSheet::Upgrade:
        return std::make_unique<COptUpgradePage>(m_store, m_checkUpdate);
    }
    return nullptr;
}
