#pragma once

#include <QByteArray>
#include <QString>

// The lock password as it is kept in the settings file: a salted, slow hash,
// "pbkdf2-sha256$ITERATIONS$SALT$HASH" with salt and hash in base64 (PBKDF2 with
// HMAC-SHA-256, a random 16-byte salt and a 32-byte result).
//
// Any stored text that is not such a hash is taken as a password written by an older
// version as plain text: it still opens the lock, compared exactly, until the next save
// replaces it by its hash. That also keeps a damaged hash from locking anybody out for
// good: the text in the file is then the password.
class CPasswordHash {
public:
    // About 0.15 s on a slow desktop: slow enough to make guessing costly, fast enough not
    // to hold up the prompt.
    static constexpr int kIterations = 100000;
    // A stored count above this is not trusted: checking it takes about a second here
    // (2,000,000 took 8.6 s), and a larger one could hold the prompt for minutes.
    static constexpr int kMaxIterations = 200000;
    static constexpr int kSaltBytes = 16;
    static constexpr int kHashBytes = 32;

    // The stored form of `password`, with a fresh random salt.
    static QString Make(const QString& password);
    // The same with the salt and count given.
    static QString Make(const QString& password, const QByteArray& salt, int iterations);

    // True when `stored` is a well-formed hash of the form above.
    static bool IsHash(const QString& stored);

    // True when `typed` is the password `stored` keeps (letter case counts). Hashes are
    // compared in constant time.
    static bool Matches(const QString& stored, const QString& typed);

private:
    struct Parts {
        int iterations = 0;
        QByteArray salt;
        QByteArray hash;
    };
    static bool Parse(const QString& stored, Parts* parts);
    static QByteArray Derive(const QString& password, const QByteArray& salt, int iterations);
    static bool SameBytes(const QByteArray& a, const QByteArray& b);
};
