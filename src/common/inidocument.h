#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The text of an INI file ("[Section]", "Key=Value") as lines, to look values up in and
// change one value at a time. Reads and writes no file.
//
// Section and key names are compared without regard to ASCII letter case. Lines that are
// no header and no key (comments, blank lines, garbage) and keys nobody asks for stay as
// they are, in their order. Where a name appears twice, the first section of that name
// that holds the key wins, then the first line of the key in it. A file whose first line
// ends in "\r\n" is written back with "\r\n" after every line.
class CIniDocument {
public:
    CIniDocument() = default;
    explicit CIniDocument(const QByteArray& text);

    // The value, blanks around it cut; nothing when the key is missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;
    // Changes the value where the key stands, or adds the key at the end of the first
    // section of that name (the section at the end of the text when there is none). Line
    // breaks in the value become blanks. False when the key has no usable name.
    bool SetValue(const QString& section, const QString& key, const QString& value);
    // Removes the key's line; false when there was none.
    bool Remove(const QString& section, const QString& key);

    QByteArray ToText() const;

    // Whether a key name is left once it is made fit for one line of the file.
    static bool IsUsableKey(const QString& key);

private:
    qsizetype FindKey(QByteArrayView section, QByteArrayView key, QByteArrayView* value) const;
    qsizetype InsertPoint(QByteArrayView section) const;

    QList<QByteArray> m_lines;
    bool m_crlf = false;
};
