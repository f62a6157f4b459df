#pragma once

#include <functional>

class CSettingsStore;

// The places that ask for the lock password before they go on: the program's start and
// the opening of each configuration window (preferences, Security, schedule). Each check
// shows the prompt only when protection is on and set to ask at that place; otherwise it
// lets the caller go on at once.
class CPasswordGuard {
public:
    // Shows the password prompt; true when it was answered with the right password.
    using Prompt = std::function<bool()>;

    CPasswordGuard(const CSettingsStore& store, Prompt prompt);

    // At start, before any window: false ends the program (exit code 1).
    bool MayStart() const;
    // Before the preferences window shows anything: false closes it, nothing saved.
    bool MayOpenPreferences() const;
    // Before the Security window shows anything.
    bool MayOpenSecurity() const;
    // Before the schedule window shows anything.
    bool MayOpenSchedule() const;

private:
    bool AskWhenConfigured() const;
    bool Protected() const;

    const CSettingsStore& m_store;
    Prompt m_prompt;
};
