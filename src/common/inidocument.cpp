#include "common/inidocument.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView Trimmed(QByteArrayView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (IsBlank(text[begin]) || text[begin] == '\r'))
        ++begin;
    while (end > begin && (IsBlank(text[end - 1]) || text[end - 1] == '\r'))
        --end;
    return text.sliced(begin, end - begin);
}

bool SameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Names go into the file as one line each; characters that would end the name early or
// break the line are replaced, the same way for reading and writing.
QByteArray SectionName(const QString& section)
{
    QByteArray name = section.trimmed().toUtf8();
    for (char& c : name) {
        if (c == '\r' || c == '\n' || c == ']')
            c = ' ';
    }
    return Trimmed(name).toByteArray();
}

QByteArray KeyName(const QString& key)
{
    QByteArray name = key.trimmed().toUtf8();
    for (char& c : name) {
        if (c == '\r' || c == '\n')
            c = ' ';
        else if (c == '=')
            c = ':';
    }
    QByteArray trimmed = Trimmed(name).toByteArray();
    // A key may not look like a section header or a comment.
    if (!trimmed.isEmpty() && (trimmed[0] == '[' || trimmed[0] == ';' || trimmed[0] == '#'))
        trimmed.prepend('_');
    return trimmed;
}

// Section header name of the line, or a null view when the line is no header.
QByteArrayView HeaderName(QByteArrayView line)
{
    const QByteArrayView t = Trimmed(line);
    if (t.isEmpty() || t[0] != '[')
        return {};
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return {};
    const QByteArrayView name = Trimmed(t.sliced(1, close - 1));
    return name.isNull() ? QByteArrayView("", 0) : name;
}

// Key of a "key=value" line (null view when the line holds none).
QByteArrayView KeyOf(QByteArrayView line, QByteArrayView* value = nullptr)
{
    const QByteArrayView t = Trimmed(line);
    if (t.isEmpty() || t[0] == ';' || t[0] == '#' || t[0] == '[')
        return {};
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return {};
    if (value)
        *value = Trimmed(t.sliced(eq + 1));
    return Trimmed(t.first(eq));
}

} // namespace

CIniDocument::CIniDocument(const QByteArray& text)
{
    if (text.isEmpty())
        return;
    m_lines = text.split('\n');
    if (m_lines.last().isEmpty())
        m_lines.removeLast();
    const qsizetype firstEnd = text.indexOf('\n');
    m_crlf = firstEnd > 0 && text[firstEnd - 1] == '\r';
    for (QByteArray& line : m_lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
}

std::optional<QString> CIniDocument::Value(const QString& section, const QString& key) const
{
    QByteArrayView value;
    if (FindKey(SectionName(section), KeyName(key), &value) < 0)
        return std::nullopt;
    return QString::fromUtf8(value);
}

bool CIniDocument::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray sectionName = SectionName(section);
    const QByteArray keyName = KeyName(key);
    if (keyName.isEmpty())
        return false;
    QByteArray text = value.toUtf8();
    text.replace('\r', ' ').replace('\n', ' ');
    const qsizetype at = FindKey(sectionName, keyName, nullptr);
    if (at >= 0) {
        // The key keeps the spelling the file gave it.
        m_lines[at] = KeyOf(m_lines[at]).toByteArray() + '=' + text;
        return true;
    }
    const qsizetype insert = InsertPoint(sectionName);
    if (insert >= 0) {
        m_lines.insert(insert, keyName + '=' + text);
    } else {
        m_lines.append('[' + sectionName + ']');
        m_lines.append(keyName + '=' + text);
    }
    return true;
}

bool CIniDocument::Remove(const QString& section, const QString& key)
{
    const qsizetype at = FindKey(SectionName(section), KeyName(key), nullptr);
    if (at < 0)
        return false;
    m_lines.removeAt(at);
    return true;
}

QByteArray CIniDocument::ToText() const
{
    const QByteArray eol = m_crlf ? QByteArray("\r\n") : QByteArray("\n");
    QByteArray out;
    for (const QByteArray& line : m_lines) {
        out += line;
        out += eol;
    }
    return out;
}

bool CIniDocument::IsUsableKey(const QString& key)
{
    return !KeyName(key).isEmpty();
}

qsizetype CIniDocument::FindKey(QByteArrayView section, QByteArrayView key,
                                QByteArrayView* value) const
{
    bool inSection = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArrayView header = HeaderName(m_lines[i]);
        if (!header.isNull()) {
            inSection = SameName(header, section);
            continue;
        }
        if (!inSection)
            continue;
        const QByteArrayView k = KeyOf(m_lines[i], value);
        if (!k.isNull() && SameName(k, key))
            return i;
    }
    return -1;
}

// After the last non-blank line of the first section of that name; -1 when there is no
// such section.
qsizetype CIniDocument::InsertPoint(QByteArrayView section) const
{
    qsizetype header = -1;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArrayView name = HeaderName(m_lines[i]);
        if (!name.isNull() && SameName(name, section)) {
            header = i;
            break;
        }
    }
    if (header < 0)
        return -1;
    qsizetype last = header;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        if (!HeaderName(m_lines[i]).isNull())
            break;
        if (!Trimmed(m_lines[i]).isEmpty())
            last = i;
    }
    return last + 1;
}
