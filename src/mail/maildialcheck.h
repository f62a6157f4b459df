#pragma once

#include "dialer/dialcheck.h"
#include "mail/mailaccount.h"
#include "mail/pop3client.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class CCredentialStore;
class CMailResultSlot;
class CSettingsStore;

// The mail check the dial window runs on demand: asks the stored mailbox on a worker
// thread and finishes with what the window shows. A result that arrives after the window
// closed is dropped. When the server's certificate is one the system does not trust, the
// user is asked whether to trust exactly that certificate for this server from now on.
class CMailDialCheck : public CDialCheck {
    Q_OBJECT

public:
    CMailDialCheck(CSettingsStore& store, CCredentialStore& credentials,
                   CPop3Client::Options options = {}, QObject* parent = nullptr);
    ~CMailDialCheck() override;

    void Start() override;

    // What the window shows for a worker's result: a count becomes "You have N new
    // email(s)", the no-mail and error texts stay as they are (an error with its reason
    // below). Nothing for anything else (a count of five digits or more is not taken as
    // one).
    static std::optional<QString> Shown(const QString& result);
    // What the window shows when no mail server is set.
    static QString NoServerText();

private:
    void Present(const QString& result);
    // Asks whether to trust the refused certificate of the account's server and stores the
    // pin when the user says yes (and then returns true). Static: the check may be gone
    // by the time the user answers.
    static bool OfferTrust(CSettingsStore& store, const CMailAccount& account,
                           const QByteArray& sha256);

    CSettingsStore& m_store;
    CCredentialStore& m_credentials;
    CPop3Client::Options m_options;
    std::shared_ptr<CMailResultSlot> m_slot;
    // The account of the running check, and the certificate it refused.
    CMailAccount m_account;
    QByteArray m_refusedSha256;
};
