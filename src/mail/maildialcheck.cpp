#include "mail/maildialcheck.h"

#include "mail/mailaccount.h"
#include "mail/mailcheck.h"
#include "mail/mailresultslot.h"

#include <QMetaObject>

CMailDialCheck::CMailDialCheck(const CSettingsStore& store, CCredentialStore& credentials,
                               CPop3Client::Options options, QObject* parent)
    : CDialCheck(parent)
    , m_store(store)
    , m_credentials(credentials)
    , m_options(std::move(options))
    , m_slot(std::make_shared<CMailResultSlot>())
{
    // The worker posts to this object; the slot's lock keeps the object alive meanwhile.
    m_slot->Set([this](const QString& result) {
        QMetaObject::invokeMethod(
            this, [this, result] { Present(result); }, Qt::QueuedConnection);
    });
}

CMailDialCheck::~CMailDialCheck()
{
    m_slot->Clear();
}

void CMailDialCheck::Start()
{
    CMailAccount::Load(m_store, m_credentials, this, [this](const CMailAccount& account) {
        CMailCheck::Start(account, m_slot, m_options);
    });
}

std::optional<QString> CMailDialCheck::Shown(const QString& result)
{
    if (result.size() < 5)
        return tr("You have %1 new email(s)").arg(result);
    if (result == CMailCheck::kError)
        return tr("Error connecting to the server.\nCheck your email settings!");
    if (result == CMailCheck::kNoMail)
        return tr("There are no new emails.");
    return std::nullopt;
}

void CMailDialCheck::Present(const QString& result)
{
    if (const std::optional<QString> text = Shown(result))
        Q_EMIT Finished(*text, true);
}
