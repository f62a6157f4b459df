#include "mail/mailaccount.h"

#include "common/settingsstore.h"

#include <QObject>
#include <QPointer>

namespace {
CNamedKey Named(const CTextKey& key)
{
    return CNamedKey{QString::fromLatin1(key.section), QString::fromLatin1(key.name)};
}
} // namespace

CCredentialStore::Slot CMailAccount::CredentialSlot()
{
    // A keyring service of its own: no phonebook entry can share the mailbox's item.
    return CCredentialStore::Slot{Named(Keys::MUser), Named(Keys::MPassword),
                                  QStringLiteral("POP3"), QStringLiteral("Orvalis mail")};
}

quint16 CMailAccount::ProposedPort(CPop3Client::Security security)
{
    return security == CPop3Client::Security::Tls ? CPop3Client::kTlsPort : CPop3Client::kPlainPort;
}

void CMailAccount::Load(const CSettingsStore& store, CCredentialStore& credentials,
                        const QObject* context, std::function<void(const CMailAccount&)> done)
{
    CMailAccount account;
    account.server = store.Read(Keys::MServer).trimmed();
    // A value this version does not know is taken as the strictest protection, never as
    // clear text.
    const int security = store.Read(Keys::MSecurity);
    account.security = security == 0   ? CPop3Client::Security::None
                       : security == 1 ? CPop3Client::Security::StartTls
                                       : CPop3Client::Security::Tls;
    const int port = store.Read(Keys::MPort, ProposedPort(account.security));
    account.port = port > 0 && port <= 65535 ? quint16(port) : ProposedPort(account.security);
    credentials.Load(CredentialSlot(),
                     [account, guard = QPointer<const QObject>(context), done = std::move(done)](
                         const QString& user, const QString& password) mutable {
                         if (!guard || !done)
                             return;
                         account.user = user;
                         account.password = password;
                         done(account);
                     });
}
