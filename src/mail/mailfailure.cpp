#include "mail/mailfailure.h"

#include <QCoreApplication>

namespace {
// The texts are marked with QT_TRANSLATE_NOOP where they stand, so lupdate finds them.
QString Tr(const char* text)
{
    return QCoreApplication::translate("CMailFailure", text);
}
} // namespace

CMailFailure::Reason CMailFailure::FromSocketError(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return HostNotFound;
    case QAbstractSocket::ConnectionRefusedError:
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketAccessError:
    case QAbstractSocket::UnsupportedSocketOperationError:
    case QAbstractSocket::ProxyConnectionRefusedError:
    case QAbstractSocket::ProxyNotFoundError:
    case QAbstractSocket::ProxyConnectionTimeoutError:
        return Unreachable;
    case QAbstractSocket::SocketTimeoutError:
        return TimedOut;
    case QAbstractSocket::RemoteHostClosedError:
        return ConnectionBroken;
    default:
        return BadAnswer;
    }
}

CMailFailure::Reason CMailFailure::FromSslErrors(const QList<QSslError>& errors)
{
    if (errors.isEmpty())
        return BadAnswer;
    for (const QSslError& error : errors) {
        if (error.error() != QSslError::HostNameMismatch)
            return CertificateUntrusted;
    }
    return CertificateOtherName;
}

QString CMailFailure::Text(Reason reason, const QByteArray& certificateSha256)
{
    switch (reason) {
    case NoReason:
        return QString();
    case LoginRefused:
        return Tr(
            QT_TRANSLATE_NOOP("CMailFailure", "The server refused the user name or password."));
    case HostNotFound:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure", "The server was not found (check its name)."));
    case Unreachable:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure",
                                    "The server cannot be reached or refused the connection."));
    case TimedOut:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure", "The server did not answer in time."));
    case NoGreeting:
        return Tr(QT_TRANSLATE_NOOP(
            "CMailFailure",
            "The server sent no greeting; it may expect TLS from the start (choose TLS "
            "instead of STARTTLS)."));
    case CertificateUntrusted:
        return Tr(QT_TRANSLATE_NOOP(
                      "CMailFailure",
                      "The server's certificate is not trusted.\nSHA-256 fingerprint: %1"))
            .arg(Fingerprint(certificateSha256));
    case CertificateOtherName:
        return Tr(QT_TRANSLATE_NOOP(
                      "CMailFailure",
                      "The server's certificate is for another name.\nSHA-256 fingerprint: %1"))
            .arg(Fingerprint(certificateSha256));
    case StartTlsRefused:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure", "The server refused STARTTLS."));
    case ConnectionBroken:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure", "The server closed the connection."));
    case BadAnswer:
        return Tr(QT_TRANSLATE_NOOP("CMailFailure", "The server's answer was not understood."));
    }
    return QString();
}

QString CMailFailure::Fingerprint(const QByteArray& sha256)
{
    return QString::fromLatin1(sha256.toHex(':').toUpper());
}
