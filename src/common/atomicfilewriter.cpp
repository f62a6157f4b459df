#include "common/atomicfilewriter.h"

#include "common/filename.h"

#include <QList>

#include <atomic>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Not QSaveFile: its temporary names carry no process id, so the files of a killed writer
// could not be told from those of a live one and cleaned up; it keeps the old file's mode
// where ours must become private again; and it takes names through QFile, which cannot
// keep folder names that are not valid UTF-8 (CFileName can).

namespace {

// Serialises the writers of this process; the folder lock serialises processes.
std::mutex g_writeMutex;

// Files are named like ".ov.ini.tmp-PID-N" while they are written.
constexpr char kTempInfix[] = ".tmp-";

// Numbers the temporary files of this process.
std::atomic<unsigned> g_tempCounter = 0;

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
bool MayReplace(const QByteArray& path, CAtomicFileWriter::Links links)
{
    struct stat st {};
    if (links == CAtomicFileWriter::Links::Replace) {
        // The link itself is renamed over; whatever it names stays as it is.
        if (::lstat(path.constData(), &st) != 0)
            return errno == ENOENT;
        if (S_ISLNK(st.st_mode))
            return true;
        if (!S_ISREG(st.st_mode))
            return false;
    } else if (::stat(path.constData(), &st) != 0) {
        return errno == ENOENT;
    }
    if (st.st_uid != ::geteuid() || (st.st_mode & S_IWUSR) == 0)
        return false;
    return ::access(path.constData(), W_OK) == 0;
}

// Removes the temporary files that a killed writer left beside the target. Called under
// the folder lock, so no writer of any process is in the middle of its own.
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

} // namespace

CAtomicFileWriter::CAtomicFileWriter(const QString& path, Links links)
    : m_path(path)
    , m_links(links)
{}

CAtomicFileWriter::~CAtomicFileWriter()
{
    // Closing the folder releases its lock.
    if (m_dirFd >= 0)
        ::close(m_dirFd);
}

bool CAtomicFileWriter::Begin()
{
    const QByteArray encoded = CFileName::Encode(m_path);
    const std::optional<QByteArray> resolved =
        m_links == Links::Follow ? ResolveLinks(encoded) : std::optional(encoded);
    if (!resolved)
        return false;
    m_target = *resolved;
    const qsizetype slash = m_target.lastIndexOf('/');
    m_dir = slash < 0 ? QByteArray(".") : m_target.left(qMax<qsizetype>(1, slash));
    m_baseName = m_target.mid(slash + 1);
    if (!CFileName::MakePath(CFileName::Decode(m_dir)))
        return false;

    m_threadLock = std::unique_lock(g_writeMutex);
    m_dirFd = ::open(m_dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        return false;
    while (::flock(m_dirFd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return false;
    }
    RemoveStaleTempFiles(m_dir, m_baseName);
    return MayReplace(m_target, m_links);
}

bool CAtomicFileWriter::Commit(const QByteArray& data)
{
    if (m_dirFd < 0)
        return false;
    QByteArray tempName;
    int tempFd = -1;
    for (int attempt = 0; attempt < 100 && tempFd < 0; ++attempt) {
        tempName = m_dir + "/." + m_baseName + kTempInfix + QByteArray::number(::getpid()) + '-' +
                   QByteArray::number(++g_tempCounter);
        tempFd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                        0600);
        if (tempFd < 0 && errno != EEXIST)
            return false;
    }
    if (tempFd < 0)
        return false;
    const bool written =
        ::fchmod(tempFd, S_IRUSR | S_IWUSR) == 0 && WriteAll(tempFd, data) && ::fsync(tempFd) == 0;
    if (::close(tempFd) != 0 || !written ||
        ::rename(tempName.constData(), m_target.constData()) != 0) {
        ::unlink(tempName.constData());
        return false;
    }
    ::fsync(m_dirFd);
    return true;
}
