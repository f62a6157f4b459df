#include "mail/mailaccount.h"
#include "mail/mailfailure.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// 32 bytes 0x00 to 0x1f: a digest of the right size.
QByteArray Digest()
{
    QByteArray digest;
    for (char i = 0; i < 32; ++i)
        digest.append(i);
    return digest;
}
} // namespace

class TestMailFailure : public QObject {
    Q_OBJECT

private slots:
    void socketErrors_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("reason");
        QTest::newRow("name lookup failed")
            << int(QAbstractSocket::HostNotFoundError) << int(CMailFailure::HostNotFound);
        QTest::newRow("connection refused")
            << int(QAbstractSocket::ConnectionRefusedError) << int(CMailFailure::Unreachable);
        QTest::newRow("network down")
            << int(QAbstractSocket::NetworkError) << int(CMailFailure::Unreachable);
        QTest::newRow("time-out") << int(QAbstractSocket::SocketTimeoutError)
                                  << int(CMailFailure::TimedOut);
        QTest::newRow("closed by the server")
            << int(QAbstractSocket::RemoteHostClosedError) << int(CMailFailure::ConnectionBroken);
        QTest::newRow("handshake without certificate errors")
            << int(QAbstractSocket::SslHandshakeFailedError) << int(CMailFailure::BadAnswer);
    }
    void socketErrors()
    {
        QFETCH(int, error);
        QFETCH(int, reason);
        QCOMPARE(int(CMailFailure::FromSocketError(QAbstractSocket::SocketError(error))), reason);
    }

    void sslErrors_data()
    {
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<int>("reason");
        QTest::newRow("another name only")
            << QList<int>{QSslError::HostNameMismatch} << int(CMailFailure::CertificateOtherName);
        QTest::newRow("self-signed") << QList<int>{QSslError::SelfSignedCertificate}
                                     << int(CMailFailure::CertificateUntrusted);
        QTest::newRow("unknown issuer and another name")
            << QList<int>{QSslError::HostNameMismatch, QSslError::UnableToGetLocalIssuerCertificate}
            << int(CMailFailure::CertificateUntrusted);
        QTest::newRow("none") << QList<int>{} << int(CMailFailure::BadAnswer);
    }
    void sslErrors()
    {
        QFETCH(QList<int>, errors);
        QFETCH(int, reason);
        QList<QSslError> list;
        for (const int error : errors)
            list.append(QSslError(QSslError::SslError(error)));
        QCOMPARE(int(CMailFailure::FromSslErrors(list)), reason);
    }

    void texts_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("text");
        const QString fingerprint =
            u"00:01:02:03:04:05:06:07:08:09:0A:0B:0C:0D:0E:0F:10:11:12:13:14:15:16:17:18:19:1A:"
            "1B:1C:1D:1E:1F"_s;
        // A certificate's reason adds its fingerprint.
        QTest::newRow("none") << int(CMailFailure::NoReason) << QString();
        QTest::newRow("untrusted")
            << int(CMailFailure::CertificateUntrusted)
            << u"The server's certificate is not trusted.\nSHA-256 fingerprint: "_s + fingerprint;
        QTest::newRow("other name") << int(CMailFailure::CertificateOtherName)
                                    << u"The server's certificate is for another name.\n"
                                       "SHA-256 fingerprint: "_s +
                                           fingerprint;
    }
    void texts()
    {
        QFETCH(int, reason);
        QFETCH(QString, text);
        QCOMPARE(CMailFailure::Text(CMailFailure::Reason(reason), Digest()), text);
    }
    void everyReasonHasALine()
    {
        for (int reason = CMailFailure::LoginRefused; reason <= CMailFailure::BadAnswer; ++reason)
            QVERIFY(!CMailFailure::Text(CMailFailure::Reason(reason)).isEmpty());
    }

    // A pin counts for its own host and port only, and only with a whole digest.
    void pins_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<bool>("pinned");
        const QString fingerprint = CMailFailure::Fingerprint(Digest());
        QTest::newRow("same server") << u"mail.example.org:995 "_s + fingerprint << true;
        QTest::newRow("lower case") << u"mail.example.org:995 "_s + fingerprint.toLower() << true;
        QTest::newRow("other port") << u"mail.example.org:110 "_s + fingerprint << false;
        QTest::newRow("other host") << u"example.org:995 "_s + fingerprint << false;
        QTest::newRow("short digest") << u"mail.example.org:995 00:01:02"_s << false;
        QTest::newRow("empty") << QString() << false;
    }
    void pins()
    {
        QFETCH(QString, pin);
        QFETCH(bool, pinned);
        QCOMPARE(CMailAccount::PinnedSha256(pin, u"mail.example.org"_s, 995),
                 pinned ? Digest() : QByteArray());
        QCOMPARE(CMailAccount::PinText(u"mail.example.org"_s, 995, Digest()),
                 u"mail.example.org:995 "_s + CMailFailure::Fingerprint(Digest()));
    }
};

QTEST_GUILESS_MAIN(TestMailFailure)
#include "tst_mailfailure.moc"
