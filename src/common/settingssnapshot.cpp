#include "common/settingssnapshot.h"

#include "common/settingsstore.h"

CSettingsSnapshot::CSettingsSnapshot(const QByteArray& text)
    : m_empty(text.isEmpty())
{
    if (!m_empty)
        m_document = CIniDocument(text);
}

std::optional<QString> CSettingsSnapshot::Value(const QString& section, const QString& key) const
{
    if (m_empty)
        return std::nullopt;
    const std::optional<QString> value = m_document.Value(section, key);
    if (!value)
        return std::nullopt;
    return value->left(CSettingsStore::kMaxTextLength);
}

int CSettingsSnapshot::ReadInt(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> text = Value(section, key);
    return text ? CSettingsStore::ParseLeadingInt(*text) : defaultValue;
}

QString CSettingsSnapshot::ReadString(const QString& section, const QString& key,
                                      const QString& defaultValue) const
{
    return Value(section, key).value_or(defaultValue);
}

int CSettingsSnapshot::Read(const CIntKey& key) const
{
    return ReadInt(QLatin1String(key.section), QLatin1String(key.name), key.defaultValue);
}

QString CSettingsSnapshot::Read(const CTextKey& key) const
{
    return ReadString(QLatin1String(key.section), QLatin1String(key.name),
                      QLatin1String(key.defaultValue));
}
