#include "app/logmover.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool CopyContents(int from, int to)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(to, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            done += w;
        }
    }
}

// Copies to a temporary file beside the destination, then links it into place, which fails
// rather than replace a file that appeared meanwhile.
CLogMover::Result CopyAcross(const QByteArray& src, const QByteArray& dst)
{
    const int in = ::open(src.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return CLogMover::Result::Failed;
    struct stat st {};
    ::fstat(in, &st);
    QByteArray temp = dst + ".XXXXXX";
    const int out = ::mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        ::close(in);
        return CLogMover::Result::Failed;
    }
    ::fchmod(out, st.st_mode & 07777);
    const bool copied = CopyContents(in, out) && ::fsync(out) == 0;
    ::close(in);
    const bool closed = ::close(out) == 0;
    if (!copied || !closed) {
        ::unlink(temp.constData());
        return CLogMover::Result::Failed;
    }
    if (::link(temp.constData(), dst.constData()) != 0) {
        const bool exists = errno == EEXIST;
        ::unlink(temp.constData());
        return exists ? CLogMover::Result::DestinationExists : CLogMover::Result::Failed;
    }
    ::unlink(temp.constData());
    ::unlink(src.constData());
    return CLogMover::Result::Moved;
}

} // namespace

CLogMover::Result CLogMover::Move(const QString& source, const QString& destination)
{
    const QFileInfo from(source);
    if (!from.isFile())
        return Result::NoSource;
    const QFileInfo to(destination);
    if (to.exists()) {
        return from.canonicalFilePath() == to.canonicalFilePath() ? Result::SameFile
                                                                  : Result::DestinationExists;
    }
    if (!QDir().mkpath(to.absolutePath()))
        return Result::Failed;

    const QByteArray src = QFile::encodeName(from.absoluteFilePath());
    const QByteArray dst = QFile::encodeName(to.absoluteFilePath());
    // A hard link is the no-overwrite rename of one file system: it fails if the
    // destination exists, and the source goes only once the link is made.
    if (::link(src.constData(), dst.constData()) == 0) {
        ::unlink(src.constData());
        return Result::Moved;
    }
    if (errno == EEXIST)
        return Result::DestinationExists;
    if (errno == EXDEV || errno == EPERM || errno == EOPNOTSUPP)
        return CopyAcross(src, dst);
    return Result::Failed;
}
