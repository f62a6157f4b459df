#pragma once

#include "dialer/credentialstore.h"
#include "mail/pop3client.h"

#include <QString>

#include <functional>

class CSettingsStore;
class QObject;

// The mailbox a mail check asks: what the Email page stored, with the password from the
// keyring (or the settings file when no keyring runs).
struct CMailAccount {
    QString server;
    quint16 port = CPop3Client::kPlainPort;
    CPop3Client::Security security = CPop3Client::Security::None;
    QString user;
    QString password;
    // The certificate the user trusts for this server and port (SHA-256); empty: none.
    QByteArray pinnedSha256;

    // Where the mail user name and password are kept.
    static CCredentialStore::Slot CredentialSlot();
    // The port proposed for a kind of protection: 995 for TLS, else 110.
    static quint16 ProposedPort(CPop3Client::Security security);
    // The pin as stored: "host:port" and the fingerprint; and the digest of a stored pin
    // when it is for this host and port (else empty).
    static QString PinText(const QString& server, quint16 port, const QByteArray& sha256);
    static QByteArray PinnedSha256(const QString& pin, const QString& server, quint16 port);
    // Trusts the certificate for the account's server and port from now on, in place of
    // any pin stored before.
    static void StorePin(CSettingsStore& store, const CMailAccount& account,
                         const QByteArray& sha256);
    // Reads the stored account; the password arrives later, from the event loop, so done is
    // called then (and not at all once context is gone).
    static void Load(const CSettingsStore& store, CCredentialStore& credentials,
                     const QObject* context, std::function<void(const CMailAccount&)> done);
};
