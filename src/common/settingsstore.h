#pragma once

#include "common/settingskeys.h"
#include "common/settingssnapshot.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Named values under named sections of an INI file ("[Section]", "Key=Value").
//
// Section and key names are compared without regard to ASCII letter case. Nothing is
// cached: every read looks at the file as it is now, so a value written by another part
// of the program or by another process is seen at once. Every write re-reads the file
// under a lock, changes one value and replaces the file atomically (temporary file,
// fsync, rename), keeping every other section, key, comment and their order; a write of
// the value that is already there leaves the file untouched. The file is created readable
// by its owner only.
//
// A missing or garbled file gives the caller's defaults; a write that cannot be done
// returns false and leaves the old file as it was. A file that is there but cannot be read
// (too many open files, no permission, not a plain file) is an error, not an empty file:
// the values this store last read from it stay in use (the defaults when it has read
// none yet). Such a file, and one too large to be a settings file (whose values are not
// used), is told to the notice handler once until it can be read again; the store shows
// nothing itself.
//
// The text model of the file is CIniDocument, the replacing of it CAtomicFileWriter.
//
// Safe to use from several threads at once.
class CSettingsStore {
public:
    // Longest text a read returns, in characters.
    static constexpr int kMaxTextLength = 4095;

    // Receives a text for the user about a settings file the store cannot use. Called on
    // the thread that read or wrote, which need not be the thread of the windows.
    using NoticeHandler = std::function<void(const QString& text)>;

    explicit CSettingsStore(QString path);

    // Installs the handler for the whole process; an empty one restores the default, which
    // prints the text to standard error as "Error: text".
    static void SetNoticeHandler(NoticeHandler handler);

    const QString& Path() const { return m_path; }

    // The leading decimal number of the value (blanks and a sign may lead), 0 when the
    // text has none; the default when the key is missing.
    int ReadInt(const QString& section, const QString& key, int defaultValue) const;
    // The stored text (at most kMaxTextLength characters), or the default when missing.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;

    // Reads and writes through the key table: the key's section, name and default.
    int Read(const CIntKey& key) const;
    // With the caller's own default, for example to tell a missing key from one written
    // with the table's default.
    int Read(const CIntKey& key, int defaultValue) const;
    QString Read(const CTextKey& key) const;
    // A text key whose default is worked out at run time.
    QString Read(const CTextKey& key, const QString& defaultValue) const;
    // Empty when missing.
    QString Read(const CNamedKey& key) const;
    // The file read once, for several values that belong together.
    CSettingsSnapshot Snapshot() const;
    bool Write(const CIntKey& key, int value);
    bool Write(const CTextKey& key, const QString& value);
    bool Write(const CNamedKey& key, const QString& value);
    bool Remove(const CTextKey& key);
    bool Remove(const CNamedKey& key);

    bool WriteInt(const QString& section, const QString& key, int value);
    // Line breaks in the value are stored as blanks: a value is one line of the file.
    bool WriteString(const QString& section, const QString& key, const QString& value);
    // Removes the key; true also when it did not exist.
    bool RemoveKey(const QString& section, const QString& key);

    // The integer rule of ReadInt on a bare text: "  -12abc" is -12, "abc" is 0.
    // Numbers beyond the int range are clamped to it.
    static int ParseLeadingInt(QStringView text);

private:
    bool Modify(const QString& section, const QString& key, const QString* value);
    static void Notice(const QString& text);

    struct LastGood;

    QString m_path;
    // The text of the last good read; copies of the store share it.
    std::shared_ptr<LastGood> m_lastGood;
};
