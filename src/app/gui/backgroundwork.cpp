#include "app/gui/backgroundwork.h"

#include "common/settingsstore.h"
#include "dialer/credentialstore.h"
#include "dialer/gui/defaultdial.h"
#include "dialer/scheduleticker.h"
#include "mail/mailaccount.h"
#include "mail/mailcheck.h"
#include "mail/mailresultslot.h"
#include "monitor/monitorsink.h"
#include "update/upgradenotifier.h"

#include <QApplication>

CBackgroundWork::CBackgroundWork(CSettingsStore& store, CRemoteAccess& remote,
                                 CCredentialStore& credentials, CScheduleTicker& ticker,
                                 CUpgradeNotifier& upgrades,
                                 std::shared_ptr<CMailResultSlot> mailSlot, CMonitorSink& messages)
    : m_store(store)
    , m_remote(remote)
    , m_credentials(credentials)
    , m_ticker(ticker)
    , m_upgrades(upgrades)
    , m_mailSlot(std::move(mailSlot))
    , m_messages(messages)
{}

void CBackgroundWork::DialDefaultConnection(DialAsker asker)
{
    // The monitor asks from inside its tick: the windows open once that has returned.
    QMetaObject::invokeMethod(
        &m_credentials,
        [this, asker] {
            const CDialerParts parts{m_store, m_remote, m_credentials,
                                     [this](const QString& line) { m_messages.AddMessage(line); },
                                     m_mayRedial};
            if (asker == DialAsker::Program)
                CDefaultDial::RunOnItsOwn(parts, QApplication::activeWindow());
            else
                CDefaultDial::Run(parts, true, QApplication::activeWindow());
        },
        Qt::QueuedConnection);
}

void CBackgroundWork::StartMailCheckWorker()
{
    // The password comes from the keyring here, on the window's thread; the worker gets
    // the whole account.
    CMailAccount::Load(
        m_store, m_credentials, &m_credentials,
        [slot = m_mailSlot](const CMailAccount& account) { CMailCheck::Start(account, slot); });
}

void CBackgroundWork::StartUpgradeCheck()
{
    m_upgrades.Start();
}

int CBackgroundWork::ScheduleTick()
{
    return m_ticker.Tick();
}
