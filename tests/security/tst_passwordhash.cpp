#include "security/passwordhash.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPasswordHash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The stored form names the scheme and the count and carries a fresh 16-byte salt and a
    // 32-byte hash; only the very same text opens it.
    void hashFormatAndCheck()
    {
        const QString stored = CPasswordHash::Make(u"Secret pässwörd"_s);
        static const QRegularExpression form(
            uR"(^pbkdf2-sha256\$100000\$([A-Za-z0-9+/=]+)\$([A-Za-z0-9+/=]+)$)"_s);
        const QRegularExpressionMatch match = form.match(stored);
        QVERIFY2(match.hasMatch(), qPrintable(stored));
        QCOMPARE(QByteArray::fromBase64(match.captured(1).toLatin1()).size(), 16);
        QCOMPARE(QByteArray::fromBase64(match.captured(2).toLatin1()).size(), 32);
        QVERIFY(!stored.contains(u"Secret"_s));
        QVERIFY(CPasswordHash::IsHash(stored));

        QVERIFY(CPasswordHash::Matches(stored, u"Secret pässwörd"_s));
        QVERIFY(!CPasswordHash::Matches(stored, u"secret pässwörd"_s));
        QVERIFY(!CPasswordHash::Matches(stored, u"SECRET PÄSSWÖRD"_s));
        QVERIFY(!CPasswordHash::Matches(stored, u"Secret pässwörd "_s));
        QVERIFY(!CPasswordHash::Matches(stored, QString()));
        // The text of the hash itself is no password.
        QVERIFY(!CPasswordHash::Matches(stored, stored));

        // A new salt every time: the same password never gives the same text twice.
        QVERIFY(CPasswordHash::Make(u"Secret pässwörd"_s) != stored);
    }

    // The derivation is PBKDF2-HMAC-SHA256 itself (published test vectors), so a file
    // stays readable by any later build that keeps the scheme.
    void derivationMatchesTheStandard()
    {
        const QString one = CPasswordHash::Make(u"password"_s, "salt", 1);
        QCOMPARE(one,
                 u"pbkdf2-sha256$1$c2FsdA==$"_s +
                     QString::fromLatin1(QByteArray::fromHex("120fb6cffcf8b32c43e7225256c4f837"
                                                             "a86548c92ccc35480805987cb70be17b")
                                             .toBase64()));
        const QString two = CPasswordHash::Make(u"password"_s, "saltsalt", 2);
        QVERIFY(CPasswordHash::Matches(two, u"password"_s));
        QVERIFY(!CPasswordHash::Matches(two, u"Password"_s));
    }

    // A hash whose salt was swapped refuses the right password; a damaged hash refuses it
    // too, without a crash or a long wait, and its text then stands as an old plain-text
    // password, so nobody is locked out for good.
    void wrongSaltAndGarbledValuesAreRefused()
    {
        const QByteArray salt = "0123456789abcdef";
        const QString good = CPasswordHash::Make(u"secret"_s, salt, 3);
        QVERIFY(CPasswordHash::Matches(good, u"secret"_s));
        QStringList parts = good.split(u'$');
        parts[2] = QString::fromLatin1(QByteArray("fedcba9876543210").toBase64());
        const QString otherSalt = parts.join(u'$');
        QVERIFY(CPasswordHash::IsHash(otherSalt));
        QVERIFY(!CPasswordHash::Matches(otherSalt, u"secret"_s));

        const QString hash = good.section(u'$', 3, 3);
        const QString saltText = good.section(u'$', 2, 2);
        const QStringList garbled = {
            u"pbkdf2-sha256$"_s,
            u"pbkdf2-sha256$$$"_s,
            u"pbkdf2-sha256$3$"_s + saltText,
            u"pbkdf2-sha256$0$"_s + saltText + u'$' + hash,
            u"pbkdf2-sha256$-3$"_s + saltText + u'$' + hash,
            u"pbkdf2-sha256$3x$"_s + saltText + u'$' + hash,
            // Counts that would hold the window for minutes or overflow.
            u"pbkdf2-sha256$200001$"_s + saltText + u'$' + hash,
            u"pbkdf2-sha256$99999999999$"_s + saltText + u'$' + hash,
            u"pbkdf2-sha256$3$!!not base64!!$"_s + hash,
            u"pbkdf2-sha256$3$"_s + saltText + u"$AAAA"_s,
            u"pbkdf2-sha256$3$c2FsdA==$"_s + hash, // a salt of 4 bytes
            u"pbkdf2-sha256$3$"_s + saltText + u'$' + hash + u"$extra"_s,
            u"pbkdf2-sha1$3$"_s + saltText + u'$' + hash,
            u"PBKDF2-SHA256$3$"_s + saltText + u'$' + hash,
        };
        for (const QString& stored : garbled) {
            QVERIFY2(!CPasswordHash::IsHash(stored), qPrintable(stored));
            QVERIFY2(!CPasswordHash::Matches(stored, u"secret"_s), qPrintable(stored));
            QVERIFY2(CPasswordHash::Matches(stored, stored), qPrintable(stored));
        }
    }

    // A password an older version wrote as plain text still opens the lock, compared
    // exactly; an empty stored password is opened by an empty answer only.
    void plainTextFromAnOlderFile()
    {
        QVERIFY(!CPasswordHash::IsHash(u"Secret"_s));
        QVERIFY(CPasswordHash::Matches(u"Secret"_s, u"Secret"_s));
        QVERIFY(!CPasswordHash::Matches(u"Secret"_s, u"secret"_s));
        QVERIFY(!CPasswordHash::Matches(u"Secret"_s, u"Secret2"_s));
        QVERIFY(!CPasswordHash::Matches(u"Secret"_s, u"Secre"_s));
        QVERIFY(CPasswordHash::Matches(u"Grüße"_s, u"Grüße"_s));
        QVERIFY(!CPasswordHash::Matches(u"Grüße"_s, u"GRÜSSE"_s));
        QVERIFY(CPasswordHash::Matches(QString(), QString()));
        QVERIFY(!CPasswordHash::Matches(QString(), u"x"_s));
    }
};

QTEST_GUILESS_MAIN(TestPasswordHash)
#include "tst_passwordhash.moc"
