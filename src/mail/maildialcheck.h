#pragma once

#include "dialer/dialcheck.h"
#include "mail/pop3client.h"

#include <QString>

#include <memory>
#include <optional>

class CCredentialStore;
class CMailResultSlot;
class CSettingsStore;

// The mail check the dial window runs on demand: asks the stored mailbox on a worker
// thread and finishes with what the window shows. A result that arrives after the window
// closed is dropped.
class CMailDialCheck : public CDialCheck {
    Q_OBJECT

public:
    CMailDialCheck(const CSettingsStore& store, CCredentialStore& credentials,
                   CPop3Client::Options options = {}, QObject* parent = nullptr);
    ~CMailDialCheck() override;

    void Start() override;

    // What the window shows for a worker's result: a count becomes "You have N new
    // email(s)", the no-mail and error texts stay as they are. Nothing for anything else
    // (a count of five digits or more is not taken as one).
    static std::optional<QString> Shown(const QString& result);

private:
    void Present(const QString& result);

    const CSettingsStore& m_store;
    CCredentialStore& m_credentials;
    CPop3Client::Options m_options;
    std::shared_ptr<CMailResultSlot> m_slot;
};
