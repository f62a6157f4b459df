#include "mail/mailaccount.h"

#include "common/settingsstore.h"
#include "mail/mailfailure.h"

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

QString CMailAccount::PinText(const QString& server, quint16 port, const QByteArray& sha256)
{
    return QStringLiteral("%1:%2 %3").arg(server).arg(port).arg(CMailFailure::Fingerprint(sha256));
}

QByteArray CMailAccount::PinnedSha256(const QString& pin, const QString& server, quint16 port)
{
    const qsizetype blank = pin.lastIndexOf(QLatin1Char(' '));
    if (blank < 0 || pin.left(blank) != QStringLiteral("%1:%2").arg(server).arg(port))
        return QByteArray();
    const QByteArray digest =
        QByteArray::fromHex(pin.mid(blank + 1).remove(QLatin1Char(':')).toLatin1());
    // Anything but a whole SHA-256 digest pins nothing.
    return digest.size() == 32 ? digest : QByteArray();
}

void CMailAccount::StorePin(CSettingsStore& store, const CMailAccount& account,
                            const QByteArray& sha256)
{
    store.Write(Keys::MCertPin, PinText(account.server, account.port, sha256));
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
    account.pinnedSha256 = PinnedSha256(store.Read(Keys::MCertPin), account.server, account.port);
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
