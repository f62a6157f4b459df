#pragma once

#include "monitor/monitorservices.h"

#include <functional>
#include <memory>

class CCredentialStore;
class CMailResultSlot;
class CMonitorSink;
class CRemoteAccess;
class CScheduleTicker;
class CSettingsStore;
class CUpgradeNotifier;

// The work the connection monitor starts: dialing the default connection, the background
// mail check, the upgrade check and the schedules' tick.
class CBackgroundWork : public CMonitorServices {
public:
    // Mail results go to `mailSlot`; the dial window's lines go to `messages`.
    CBackgroundWork(CSettingsStore& store, CRemoteAccess& remote, CCredentialStore& credentials,
                    CScheduleTicker& ticker, CUpgradeNotifier& upgrades,
                    std::shared_ptr<CMailResultSlot> mailSlot, CMonitorSink& messages);

    // Asked before the dial window dials a busy line again; empty: always yes.
    void SetMayRedial(std::function<bool()> mayRedial) { m_mayRedial = std::move(mayRedial); }

    void DialDefaultConnection(DialAsker asker) override;
    void StartMailCheckWorker() override;
    void StartUpgradeCheck() override;
    int ScheduleTick() override;

private:
    CSettingsStore& m_store;
    CRemoteAccess& m_remote;
    CCredentialStore& m_credentials;
    CScheduleTicker& m_ticker;
    CUpgradeNotifier& m_upgrades;
    std::shared_ptr<CMailResultSlot> m_mailSlot;
    CMonitorSink& m_messages;
    std::function<bool()> m_mayRedial;
};
