#pragma once

#include "app/gui/featurestocome.h"

#include <QString>

#include <memory>

class CCredentialStore;
class CRemoteAccess;
class CSettingsStore;
class CSoundPlayer;
class CSystemTray;
class CTrafficCounters;

// The platform services the program runs on, chosen and built in one place at start-up:
// the connection backend, the traffic counters, sound, the two tray icons and the features
// still to come. The windows and the monitor receive them; none builds its own.
class CBackends {
public:
    ~CBackends();

    // Builds every service for the backend named on the command line ("auto", "nm",
    // "sim"). Null when the connection backend cannot be made; `note` then says why.
    // Otherwise `note` may carry a line for the message list (the backend that was chosen).
    static std::unique_ptr<CBackends> Build(const QString& backend, CSettingsStore& store,
                                            QString* note);

    CRemoteAccess& RemoteAccess() const { return *m_remoteAccess; }
    // Null when the counter worker could not start: calls are still watched, with byte
    // counts of 0.
    CTrafficCounters* Counters() const { return m_counters.get(); }
    CSoundPlayer& Sound() const { return *m_sound; }
    CSystemTray& ConnectionTray() const { return *m_connectionTray; }
    CSystemTray& MailTray() const { return *m_mailTray; }
    CFeaturesToCome& Features() { return *m_features; }

private:
    CBackends() = default;

    // The connection backend answers NetworkManager's password requests from it: made
    // first, gone last.
    std::unique_ptr<CCredentialStore> m_credentials;
    std::unique_ptr<CRemoteAccess> m_remoteAccess;
    std::unique_ptr<CTrafficCounters> m_counters;
    std::unique_ptr<CSoundPlayer> m_sound;
    std::unique_ptr<CSystemTray> m_connectionTray;
    std::unique_ptr<CSystemTray> m_mailTray;
    std::unique_ptr<CFeaturesToCome> m_features;
};
