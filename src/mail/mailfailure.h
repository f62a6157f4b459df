#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QSslError>
#include <QString>

// Why a mail check failed, in the words the check window and the tray tooltip show: the
// one place where socket errors, certificate errors and refused commands become a reason.
class CMailFailure {
public:
    enum Reason {
        NoReason,
        LoginRefused,
        HostNotFound,
        Unreachable,
        TimedOut,
        NoGreeting,
        CertificateUntrusted,
        CertificateOtherName,
        StartTlsRefused,
        ConnectionBroken,
        BadAnswer
    };

    // The reason of a socket error; TLS handshake errors come from FromSslErrors.
    static Reason FromSocketError(QAbstractSocket::SocketError error);
    // The reason of a refused certificate: a certificate for another name, else untrusted.
    static Reason FromSslErrors(const QList<QSslError>& errors);
    // One short line (two for a certificate: the fingerprint follows).
    static QString Text(Reason reason, const QByteArray& certificateSha256 = QByteArray());
    // A SHA-256 digest as hex pairs separated by colons, in capitals.
    static QString Fingerprint(const QByteArray& sha256);
};
