#include "mail/maildialcheck.h"

#include "common/messagebox.h"
#include "mail/mailcheck.h"
#include "mail/mailfailure.h"
#include "mail/mailresultslot.h"

#include <QMetaObject>
#include <QPointer>

#include <utility>

CMailDialCheck::CMailDialCheck(CSettingsStore& store, CCredentialStore& credentials,
                               CPop3Client::Options options, QObject* parent)
    : CDialCheck(parent)
    , m_store(store)
    , m_credentials(credentials)
    , m_options(std::move(options))
    , m_slot(std::make_shared<CMailResultSlot>())
{
    // The worker posts to this object; the slot's lock keeps the object alive meanwhile.
    // The refused certificate is posted first, so it is known when the result is shown.
    m_slot->Set(
        [this](const QString& result) {
            QMetaObject::invokeMethod(
                this, [this, result] { Present(result); }, Qt::QueuedConnection);
        },
        [this](const QByteArray& sha256) {
            QMetaObject::invokeMethod(
                this, [this, sha256] { m_refusedSha256 = sha256; }, Qt::QueuedConnection);
        });
}

CMailDialCheck::~CMailDialCheck()
{
    m_slot->Clear();
}

void CMailDialCheck::Start()
{
    CMailAccount::Load(m_store, m_credentials, this, [this](const CMailAccount& account) {
        if (account.server.isEmpty()) {
            Q_EMIT Finished(NoServerText(), true);
            return;
        }
        m_account = account;
        m_refusedSha256.clear();
        CMailCheck::Start(account, m_slot, m_options);
    });
}

std::optional<QString> CMailDialCheck::Shown(const QString& result)
{
    if (result.size() < 5)
        return tr("You have %1 new email(s)").arg(result);
    if (result == CMailCheck::kError)
        return tr("Error connecting to the server.\nCheck your email settings!");
    // The reason follows on a line of its own, already in the user's language.
    if (result.startsWith(CMailCheck::kError + QLatin1Char('\n')))
        return tr("Error connecting to the server.\nCheck your email settings!") +
               result.mid(CMailCheck::kError.size());
    if (result == CMailCheck::kNoMail)
        return tr("There are no new emails.");
    return std::nullopt;
}

QString CMailDialCheck::NoServerText()
{
    return tr("No mail server is set.\nEnter one in the preferences, on the Email page.");
}

void CMailDialCheck::Present(const QString& result)
{
    const std::optional<QString> text = Shown(result);
    if (!text)
        return;
    const QByteArray refused = std::exchange(m_refusedSha256, QByteArray());
    Q_EMIT Finished(*text, true);
    if (refused.isEmpty())
        return;
    // The window may close while the question is open, and this check with it.
    const QPointer<CMailDialCheck> alive(this);
    const CMailAccount account = m_account;
    if (OfferTrust(m_store, account, refused) && alive) {
        Q_EMIT Finished(*text + QStringLiteral("\n\n") +
                            tr("This certificate is trusted now. Check mail again."),
                        true);
    }
}

bool CMailDialCheck::OfferTrust(CSettingsStore& store, const CMailAccount& account,
                                const QByteArray& sha256)
{
    const QString question = tr("The system does not trust the certificate of %1, port %2.\n"
                                "SHA-256 fingerprint:\n%3\n\n"
                                "Trust exactly this certificate for this server from now on?")
                                 .arg(account.server)
                                 .arg(account.port)
                                 .arg(CMailFailure::Fingerprint(sha256));
    if (!CMessageBox::Ask(question, tr("Trust this certificate")))
        return false;
    CMailAccount::StorePin(store, account, sha256);
    return true;
}
