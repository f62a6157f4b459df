#include "security/passwordguard.h"

#include "common/settingsstore.h"

CPasswordGuard::CPasswordGuard(const CSettingsStore& store, Prompt prompt)
    : m_store(store)
    , m_prompt(std::move(prompt))
{}

bool CPasswordGuard::MayStart() const
{
    if (!Protected() || m_store.Read(Keys::SecurityWhenStarted) != 1)
        return true;
    return m_prompt();
}

bool CPasswordGuard::MayOpenPreferences() const
{
    return AskWhenConfigured();
}

bool CPasswordGuard::MayOpenSecurity() const
{
    return AskWhenConfigured();
}

bool CPasswordGuard::MayOpenSchedule() const
{
    return AskWhenConfigured();
}

bool CPasswordGuard::AskWhenConfigured() const
{
    if (!Protected() || m_store.Read(Keys::SecurityWhenConfigured) != 1)
        return true;
    return m_prompt();
}

bool CPasswordGuard::Protected() const
{
    return m_store.Read(Keys::SecurityEnabled) == 1;
}
