#include "common/settingsstore.h"

#include "common/atomicfilewriter.h"
#include "common/filename.h"
#include "common/inidocument.h"

#include <QHash>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A settings file larger than this is not ours; reading it whole would only waste memory.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

std::mutex g_handlerMutex;
CSettingsStore::NoticeHandler g_noticeHandler;

enum class ReadResult { Ok, Missing, Failed, TooLarge };

ReadResult ReadWholeFile(const QByteArray& path, QByteArray& out)
{
    out.clear();
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    const auto result = [&] {
        struct stat st {};
        if (::fstat(fd, &st) != 0)
            return ReadResult::Failed;
        if (!S_ISREG(st.st_mode)) {
            errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            return ReadResult::Failed;
        }
        if (st.st_size > kMaxFileSize)
            return ReadResult::TooLarge;
        out.reserve(static_cast<qsizetype>(st.st_size));
        char buffer[16384];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return ReadResult::Failed;
            }
            if (n == 0)
                return ReadResult::Ok;
            if (out.size() + n > kMaxFileSize)
                return ReadResult::TooLarge;
            out.append(buffer, n);
        }
    }();
    const int error = errno;
    ::close(fd);
    errno = error;
    return result;
}

// Per path, the trouble the user has last been told about; a file leaves the map once it
// can be read again (or is gone), so the next trouble is told again.
std::mutex g_toldMutex;
QHash<QString, ReadResult> g_told;

// The text about a file that is there but cannot be used, when it is news.
std::optional<QString> TroubleNotice(const QString& path, ReadResult result, int error)
{
    {
        const std::lock_guard lock(g_toldMutex);
        if (result == ReadResult::Ok || result == ReadResult::Missing) {
            g_told.remove(path);
            return std::nullopt;
        }
        const auto told = g_told.constFind(path);
        if (told != g_told.constEnd() && *told == result)
            return std::nullopt;
        g_told.insert(path, result);
    }
    if (result == ReadResult::Failed) {
        return QStringLiteral("The settings file %1 cannot be read (%2). The values last "
                              "read from it stay in use until it can be read again.")
            .arg(path, qt_error_string(error));
    }
    return QStringLiteral("The settings file %1 is larger than %2 MiB, so it cannot "
                          "be a settings file of Orvalis. Its settings are not "
                          "used and it is not written to; defaults apply until it "
                          "is replaced or removed.")
        .arg(path)
        .arg(kMaxFileSize / (1024 * 1024));
}

} // namespace

struct CSettingsStore::LastGood {
    std::mutex mutex;
    std::optional<QByteArray> text;
};

CSettingsStore::CSettingsStore(QString path)
    : m_path(std::move(path))
    , m_lastGood(std::make_shared<LastGood>())
{}

void CSettingsStore::SetNoticeHandler(NoticeHandler handler)
{
    const std::lock_guard lock(g_handlerMutex);
    g_noticeHandler = std::move(handler);
}

void CSettingsStore::Notice(const QString& text)
{
    NoticeHandler handler;
    {
        const std::lock_guard lock(g_handlerMutex);
        handler = g_noticeHandler;
    }
    if (handler)
        handler(text);
    else
        std::fprintf(stderr, "Error: %s\n", qPrintable(text));
}

int CSettingsStore::ReadInt(const QString& section, const QString& key, int defaultValue) const
{
    return Snapshot().ReadInt(section, key, defaultValue);
}

QString CSettingsStore::ReadString(const QString& section, const QString& key,
                                   const QString& defaultValue) const
{
    return Snapshot().ReadString(section, key, defaultValue);
}

CSettingsSnapshot CSettingsStore::Snapshot() const
{
    QByteArray data;
    const ReadResult result = ReadWholeFile(CFileName::Encode(m_path), data);
    const int error = errno;
    if (const std::optional<QString> notice = TroubleNotice(m_path, result, error))
        Notice(*notice);
    {
        const std::lock_guard lock(m_lastGood->mutex);
        if (result == ReadResult::Ok)
            m_lastGood->text = data;
        else if (result == ReadResult::Failed && m_lastGood->text)
            data = *m_lastGood->text;
        else
            m_lastGood->text.reset();
    }
    return CSettingsSnapshot(data);
}

bool CSettingsStore::WriteInt(const QString& section, const QString& key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool CSettingsStore::WriteString(const QString& section, const QString& key, const QString& value)
{
    return Modify(section, key, &value);
}

bool CSettingsStore::RemoveKey(const QString& section, const QString& key)
{
    return Modify(section, key, nullptr);
}

int CSettingsStore::ParseLeadingInt(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        if (value <= static_cast<long long>(INT_MAX) + 1)
            value = value * 10 + (text[i].unicode() - u'0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool CSettingsStore::Modify(const QString& section, const QString& key, const QString* value)
{
    if (!CIniDocument::IsUsableKey(key))
        return false;
    CAtomicFileWriter writer(m_path);
    if (!writer.Begin())
        return false;

    // Re-read under the lock, so a value another writer just stored is kept. A file that
    // cannot be read is never written over.
    QByteArray data;
    const ReadResult read = ReadWholeFile(writer.Target(), data);
    if (read == ReadResult::Failed || read == ReadResult::TooLarge) {
        const int error = errno;
        if (const std::optional<QString> notice = TroubleNotice(m_path, read, error))
            Notice(*notice);
        return false;
    }
    {
        const std::lock_guard lock(m_lastGood->mutex);
        m_lastGood->text = data;
    }

    CIniDocument document(data);
    if (!value) {
        if (!document.Remove(section, key))
            return true;
    } else {
        document.SetValue(section, key, *value);
    }
    const QByteArray text = document.ToText();
    // A value written as it already stands leaves the file alone: no new file, no sync.
    if (read == ReadResult::Ok && text == data)
        return true;
    if (!writer.Commit(text))
        return false;
    const std::lock_guard lock(m_lastGood->mutex);
    m_lastGood->text = text;
    return true;
}

int CSettingsStore::Read(const CIntKey& key) const
{
    return ReadInt(QLatin1String(key.section), QLatin1String(key.name), key.defaultValue);
}

int CSettingsStore::Read(const CIntKey& key, int defaultValue) const
{
    return ReadInt(QLatin1String(key.section), QLatin1String(key.name), defaultValue);
}

QString CSettingsStore::Read(const CTextKey& key) const
{
    return Read(key, QLatin1String(key.defaultValue));
}

QString CSettingsStore::Read(const CTextKey& key, const QString& defaultValue) const
{
    return ReadString(QLatin1String(key.section), QLatin1String(key.name), defaultValue);
}

QString CSettingsStore::Read(const CNamedKey& key) const
{
    return ReadString(key.section, key.name, QString());
}

bool CSettingsStore::Write(const CIntKey& key, int value)
{
    return WriteInt(QLatin1String(key.section), QLatin1String(key.name), value);
}

bool CSettingsStore::Write(const CTextKey& key, const QString& value)
{
    return WriteString(QLatin1String(key.section), QLatin1String(key.name), value);
}

bool CSettingsStore::Write(const CNamedKey& key, const QString& value)
{
    return WriteString(key.section, key.name, value);
}

bool CSettingsStore::Remove(const CTextKey& key)
{
    return RemoveKey(QLatin1String(key.section), QLatin1String(key.name));
}

bool CSettingsStore::Remove(const CNamedKey& key)
{
    return RemoveKey(key.section, key.name);
}
