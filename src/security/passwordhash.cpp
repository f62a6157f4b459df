#include "security/passwordhash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace {
const QLatin1String kScheme("pbkdf2-sha256");
constexpr int kMinSaltBytes = 8;
constexpr int kMaxSaltBytes = 64;

QByteArray DecodeBase64(const QString& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(
        text.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}
} // namespace

QString CPasswordHash::Make(const QString& password)
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()),
                                          kSaltBytes / sizeof(quint32));
    return Make(password, salt, kIterations);
}

QString CPasswordHash::Make(const QString& password, const QByteArray& salt, int iterations)
{
    return kScheme + u'$' + QString::number(iterations) + u'$' +
           QString::fromLatin1(salt.toBase64()) + u'$' +
           QString::fromLatin1(Derive(password, salt, iterations).toBase64());
}

bool CPasswordHash::IsHash(const QString& stored)
{
    Parts parts;
    return Parse(stored, &parts);
}

bool CPasswordHash::Matches(const QString& stored, const QString& typed)
{
    Parts parts;
    if (!Parse(stored, &parts))
        return SameBytes(stored.toUtf8(), typed.toUtf8());
    return SameBytes(Derive(typed, parts.salt, parts.iterations), parts.hash);
}

bool CPasswordHash::Parse(const QString& stored, Parts* parts)
{
    const QStringList fields = stored.split(u'$');
    if (fields.size() != 4 || fields[0] != kScheme)
        return false;
    bool ok = false;
    parts->iterations = fields[1].toInt(&ok);
    if (!ok || parts->iterations < 1 || parts->iterations > kMaxIterations)
        return false;
    parts->salt = DecodeBase64(fields[2]);
    parts->hash = DecodeBase64(fields[3]);
    return parts->salt.size() >= kMinSaltBytes && parts->salt.size() <= kMaxSaltBytes &&
           parts->hash.size() == kHashBytes;
}

QByteArray CPasswordHash::Derive(const QString& password, const QByteArray& salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kHashBytes);
}

bool CPasswordHash::SameBytes(const QByteArray& a, const QByteArray& b)
{
    // Every byte is looked at whatever differs, so the time taken does not tell how much
    // of a guess was right. Only the length may show.
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}
