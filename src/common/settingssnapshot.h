#pragma once

#include "common/inidocument.h"
#include "common/settingskeys.h"

#include <QString>

#include <optional>

// The values of a settings file as they were at one read, for code that needs several of
// them at once and would otherwise read the file once per value. Reads follow the same
// rules as CSettingsStore's; writes go through the store.
class CSettingsSnapshot {
public:
    explicit CSettingsSnapshot(const QByteArray& text);

    // The stored text, cut to CSettingsStore::kMaxTextLength characters; nothing when the
    // key is missing.
    std::optional<QString> Value(const QString& section, const QString& key) const;

    int ReadInt(const QString& section, const QString& key, int defaultValue) const;
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    int Read(const CIntKey& key) const;
    QString Read(const CTextKey& key) const;

private:
    CIniDocument m_document;
    bool m_empty = true;
};
