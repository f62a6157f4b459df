#include "update/upgradenotifier.h"

#include "common/messagebox.h"
#include "common/settingsstore.h"
#include "update/updatequery.h"

CUpgradeNotifier::CUpgradeNotifier(CSettingsStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_connectTimeoutMs(CUpdateQuery::kDefaultConnectTimeoutMs)
    , m_replyTimeoutMs(CUpdateQuery::kDefaultReplyTimeoutMs)
{}

void CUpgradeNotifier::SetTimeouts(int connectMs, int replyMs)
{
    m_connectTimeoutMs = connectMs;
    m_replyTimeoutMs = replyMs;
}

bool CUpgradeNotifier::Start()
{
    if (m_store.Read(Keys::DisableUpgrade) == 1)
        return false;
    CUpdateQuery query = CUpdateQuery::FromSettings(m_store);
    query.SetTimeouts(m_connectTimeoutMs, m_replyTimeoutMs);
    query.Start(this, [this](const QString& reply) { OnReply(reply); });
    return true;
}

void CUpgradeNotifier::OnReply(const QString& reply)
{
    // The box is shown here, on the thread the notifier lives on, never by the worker.
    if (CUpdateQuery::MeaningOf(reply) == CUpdateQuery::Meaning::Notice)
        CMessageBox::Show(
            {reply, QStringLiteral("Orvalis"), CMessageBox::Icon::None, CMessageBox::Buttons::Ok});
    Q_EMIT Checked(reply);
}
