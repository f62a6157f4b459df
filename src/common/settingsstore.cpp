#include "common/settingsstore.h"

#include "common/filename.h"
#include "common/messagebox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A settings file larger than this is not ours; reading it whole would only waste memory.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// Serialises the writers of this process; the directory lock below serialises processes.
std::mutex g_writeMutex;

class CFd {
public:
    explicit CFd(int fd = -1)
        : m_fd(fd)
    {}
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Files are named like ".ov.ini.tmp-PID-N" while they are written.
constexpr char kTempInfix[] = ".tmp-";

// Numbers the temporary files of this process.
std::atomic<unsigned> g_tempCounter = 0;

enum class ReadResult { Ok, Missing, Failed, TooLarge };

ReadResult ReadWholeFile(const QByteArray& path, QByteArray& out)
{
    out.clear();
    CFd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.Get() < 0)
        return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return ReadResult::Failed;
    if (st.st_size > kMaxFileSize)
        return ReadResult::TooLarge;
    out.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return ReadResult::Failed;
        }
        if (n == 0)
            break;
        if (out.size() + n > kMaxFileSize)
            return ReadResult::TooLarge;
        out.append(buffer, n);
    }
    return ReadResult::Ok;
}

// Paths of the settings files whose size the user has been told about; a file leaves the
// set once it can be read again, so the next time it grows too large is told again.
std::mutex g_toldMutex;
QSet<QString> g_toldTooLarge;

void NoteReadResult(const QString& path, ReadResult result)
{
    {
        const std::lock_guard lock(g_toldMutex);
        if (result != ReadResult::TooLarge) {
            g_toldTooLarge.remove(path);
            return;
        }
        if (g_toldTooLarge.contains(path))
            return;
        g_toldTooLarge.insert(path);
    }
    const QString text = QStringLiteral("The settings file %1 is larger than %2 MiB, so it cannot "
                                        "be a settings file of Orvalis. Its settings are not "
                                        "used and it is not written to; defaults apply until it "
                                        "is replaced or removed.")
                             .arg(path)
                             .arg(kMaxFileSize / (1024 * 1024));
    // A box cannot open on a worker thread, nor in the middle of whatever the event loop
    // is doing when it reads a setting: then it waits for the loop.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && (QThread::currentThread() != app->thread() || app->thread()->loopLevel() > 0))
        QMetaObject::invokeMethod(
            app, [text] { CMessageBox::Error(text); }, Qt::QueuedConnection);
    else
        CMessageBox::Error(text);
}

// The file a chain of symbolic links ends at (the path itself when it is no link). The
// last target need not exist yet.
std::optional<QByteArray> ResolveLinks(QByteArray path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), target.size());
        if (n <= 0 || n >= target.size())
            return std::nullopt;
        target.truncate(n);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = target;
    }
    return std::nullopt;
}

// False when the existing file is not the user's to change: replacing it would make a
// read-only file writable, or take it from its owner. Root passes access(), so the owner
// and the owner's write bit are checked as well.
bool MayReplace(const QByteArray& path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return errno == ENOENT;
    if (st.st_uid != ::geteuid() || (st.st_mode & S_IWUSR) == 0)
        return false;
    return ::access(path.constData(), W_OK) == 0;
}

// Removes the temporary files that a killed writer left beside the target. Called under
// the directory lock, so no writer of any process is in the middle of its own.
void RemoveStaleTempFiles(const QByteArray& dir, const QByteArray& baseName)
{
    DIR* listing = ::opendir(dir.constData());
    if (!listing)
        return;
    const QByteArray prefix = '.' + baseName + kTempInfix;
    while (const dirent* entry = ::readdir(listing)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(prefix))
            continue;
        const QList<QByteArray> parts = name.mid(prefix.size()).split('-');
        bool isNumber = false;
        const long pid = parts.size() == 2 ? parts[0].toLong(&isNumber) : 0;
        if (!isNumber || pid <= 0)
            continue;
        const bool alive =
            pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
        if (!alive)
            ::unlinkat(::dirfd(listing), name.constData(), 0);
    }
    ::closedir(listing);
}

bool WriteAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

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

// The file as lines, without their line ends.
class CIniLines {
public:
    explicit CIniLines(const QByteArray& data)
    {
        if (data.isEmpty())
            return;
        m_lines = data.split('\n');
        if (m_lines.last().isEmpty())
            m_lines.removeLast();
        const int firstEnd = data.indexOf('\n');
        m_crlf = firstEnd > 0 && data[firstEnd - 1] == '\r';
        for (QByteArray& line : m_lines) {
            if (line.endsWith('\r'))
                line.chop(1);
        }
    }

    // Section header name of the line, or a null view when the line is no header.
    static QByteArrayView HeaderName(QByteArrayView line)
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
    static QByteArrayView KeyOf(QByteArrayView line, QByteArrayView* value = nullptr)
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

    // Index of the line holding the key, or -1. The first section of that name that holds
    // the key wins, then the first line of the key in it.
    qsizetype FindKey(QByteArrayView section, QByteArrayView key, QByteArrayView* value) const
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

    // Where a new key of the section goes: after the last non-blank line of the first
    // section of that name; -1 when the section does not exist.
    qsizetype InsertPoint(QByteArrayView section) const
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

    QList<QByteArray>& Lines() { return m_lines; }

    QByteArray Join() const
    {
        const QByteArray eol = m_crlf ? QByteArray("\r\n") : QByteArray("\n");
        QByteArray out;
        for (const QByteArray& line : m_lines) {
            out += line;
            out += eol;
        }
        return out;
    }

private:
    QList<QByteArray> m_lines;
    bool m_crlf = false;
};

} // namespace

CSettingsStore::CSettingsStore(QString path)
    : m_path(std::move(path))
{}

int CSettingsStore::ReadInt(const QString& section, const QString& key, int defaultValue) const
{
    const std::optional<QString> text = Lookup(section, key);
    return text ? ParseLeadingInt(*text) : defaultValue;
}

QString CSettingsStore::ReadString(const QString& section, const QString& key,
                                   const QString& defaultValue) const
{
    return Lookup(section, key).value_or(defaultValue);
}

std::optional<QString> CSettingsStore::Lookup(const QString& section, const QString& key) const
{
    QByteArray data;
    const ReadResult result = ReadWholeFile(CFileName::Encode(m_path), data);
    NoteReadResult(m_path, result);
    if (result != ReadResult::Ok)
        return std::nullopt;
    const CIniLines lines(data);
    QByteArrayView value;
    if (lines.FindKey(SectionName(section), KeyName(key), &value) < 0)
        return std::nullopt;
    return QString::fromUtf8(value).left(kMaxTextLength);
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
    const QByteArray sectionName = SectionName(section);
    const QByteArray keyName = KeyName(key);
    if (keyName.isEmpty())
        return false;

    // Write through symbolic links to the file the last one names, so every link stays.
    const std::optional<QByteArray> resolved = ResolveLinks(CFileName::Encode(m_path));
    if (!resolved)
        return false;
    const QByteArray& targetName = *resolved;
    const qsizetype slash = targetName.lastIndexOf('/');
    const QByteArray dirName =
        slash < 0 ? QByteArray(".") : targetName.left(qMax<qsizetype>(1, slash));
    const QByteArray baseName = targetName.mid(slash + 1);
    if (!CFileName::MakePath(CFileName::Decode(dirName)))
        return false;

    const std::lock_guard lock(g_writeMutex);
    const CFd dirFd(::open(dirName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() < 0)
        return false;
    while (::flock(dirFd.Get(), LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RemoveStaleTempFiles(dirName, baseName);
    if (!MayReplace(targetName))
        return false;

    // Re-read under the lock, so a value another writer just stored is kept. A file that
    // cannot be read is never written over.
    QByteArray data;
    const ReadResult read = ReadWholeFile(targetName, data);
    if (read == ReadResult::TooLarge)
        NoteReadResult(m_path, read);
    if (read == ReadResult::Failed || read == ReadResult::TooLarge)
        return false;

    CIniLines lines(data);
    QList<QByteArray>& list = lines.Lines();
    const qsizetype at = lines.FindKey(sectionName, keyName, nullptr);
    if (!value) {
        if (at < 0)
            return true;
        list.removeAt(at);
    } else {
        QByteArray text = value->toUtf8();
        text.replace('\r', ' ').replace('\n', ' ');
        if (at >= 0) {
            const QByteArrayView oldKey = CIniLines::KeyOf(list[at]);
            list[at] = oldKey.toByteArray() + '=' + text;
        } else {
            const qsizetype insert = lines.InsertPoint(sectionName);
            if (insert >= 0) {
                list.insert(insert, keyName + '=' + text);
            } else {
                list.append('[' + sectionName + ']');
                list.append(keyName + '=' + text);
            }
        }
    }

    QByteArray tempName;
    int tempFd = -1;
    for (int attempt = 0; attempt < 100 && tempFd < 0; ++attempt) {
        tempName = dirName + "/." + baseName + kTempInfix + QByteArray::number(::getpid()) + '-' +
                   QByteArray::number(++g_tempCounter);
        tempFd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        0600);
        if (tempFd < 0 && errno != EEXIST)
            return false;
    }
    CFd temp(tempFd);
    if (temp.Get() < 0)
        return false;
    const QByteArray out = lines.Join();
    const bool written = ::fchmod(temp.Get(), S_IRUSR | S_IWUSR) == 0 &&
                         WriteAll(temp.Get(), out) && ::fsync(temp.Get()) == 0;
    if (::close(temp.Release()) != 0 || !written ||
        ::rename(tempName.constData(), targetName.constData()) != 0) {
        ::unlink(tempName.constData());
        return false;
    }
    ::fsync(dirFd.Get());
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
