#pragma once

#include <QByteArray>
#include <QString>

// File names as the kernel keeps them: bytes, not necessarily UTF-8.
//
// Valid UTF-8 decodes as usual. Every byte that is not part of valid UTF-8 decodes to the
// lone surrogate U+DC80 + (byte - 0x80), which no real text holds, and encodes back to the
// same byte, so any name read from the system opens the same file again. (QFile's own
// encodeName/decodeName turn such bytes into U+FFFD and lose them.)
class CFileName {
public:
    static QByteArray Encode(const QString& name);
    static QString Decode(const QByteArray& bytes);
    // Makes the folder and any missing parent, each new one private (mode 0700); true
    // when the folder exists afterwards.
    static bool MakePath(const QString& folder);
};
