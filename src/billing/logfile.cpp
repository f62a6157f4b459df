#include "billing/logfile.h"

#include "common/messagebox.h"

#include <QFile>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const char* data, qsizetype size, qsizetype& written)
{
    written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        written += n;
    }
    return true;
}

} // namespace

QString CLogFile::SanitizeName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral(" ");
    QString clean = name;
    for (QChar& c : clean) {
        if (c == u'|')
            c = u'/';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u' ';
    }
    return clean;
}

QString CLogFile::FormatRecord(const QDateTime& start, const QDateTime& end, const QString& user,
                               const QString& device, const QString& entry, qint64 up, qint64 down)
{
    // An invalid moment still gives its two fields, so the line keeps its shape.
    const auto date = [](const QDateTime& moment) {
        const QDate d = moment.date();
        return d.isValid() ? QString::asprintf("%02d-%02d-%04d", d.day(), d.month(), d.year())
                           : QStringLiteral("00-00-0000");
    };
    const auto time = [](const QDateTime& moment) {
        const QTime t = moment.time();
        return t.isValid() ? QString::asprintf("%02d:%02d:%02d", t.hour(), t.minute(), t.second())
                           : QStringLiteral("00:00:00");
    };
    const QChar bar = u'|';
    return date(start) + bar + time(start) + bar + date(end) + bar + time(end) + bar +
           SanitizeName(user) + bar + SanitizeName(device) + bar + SanitizeName(entry) + bar +
           QString::number(up) + bar + QString::number(down) + bar + u'\n';
}

QString CLogFile::WriteErrorText(const QString& path)
{
    return QStringLiteral("Can not write to file") + path +
           QStringLiteral(" You can try to specify other location for logfile.");
}

QString CLogFile::NotRegularText(const QString& path)
{
    return QStringLiteral("The log file %1 is not a regular file (it is a pipe, a device or a "
                          "folder), so calls cannot be logged to it and it is not read. You "
                          "can try to specify other location for logfile.")
        .arg(path);
}

CLogFile::WriteResult CLogFile::WriteLines(const QString& path, const QByteArray& lines)
{
    const QByteArray name = QFile::encodeName(path);
    // Read access is only needed to look at the last byte; a write-only log still works.
    // Opened without blocking, so a pipe nobody reads from cannot hold the program up, and
    // only a regular file is written: a record sent into a pipe or a device would be lost.
    const int flags = O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(name.constData(), O_RDWR | flags, 0600);
    const bool canRead = fd >= 0;
    if (fd < 0)
        fd = ::open(name.constData(), O_WRONLY | flags, 0600);
    struct stat info {};
    if (fd < 0) {
        // A folder cannot be opened for writing at all; say what it is.
        const bool folder =
            errno == EISDIR || (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode));
        return folder ? WriteResult::NotRegularFile : WriteResult::Failed;
    }
    const bool known = ::fstat(fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return known ? WriteResult::NotRegularFile : WriteResult::Failed;
    }
    const off_t sizeBefore = info.st_size;

    // A file whose last line was cut short (by another program, or by a crash of an older
    // writer) would swallow this record into that line: start on a fresh line.
    QByteArray data;
    if (canRead && sizeBefore > 0) {
        char last = '\n';
        if (::pread(fd, &last, 1, sizeBefore - 1) == 1 && last != '\n')
            data.append('\n');
    }
    data.append(lines);

    qsizetype written = 0;
    if (!WriteAll(fd, data.constData(), data.size(), written)) {
        // Take back a partial line (disk full) so the file never holds half a record;
        // only when nobody else has appended in the meantime.
        if (written > 0 && ::fstat(fd, &info) == 0 && info.st_size == sizeBefore + written)
            (void)::ftruncate(fd, sizeBefore);
        ::close(fd);
        return WriteResult::Failed;
    }
    ::fsync(fd);
    ::close(fd);
    return WriteResult::Written;
}

bool CLogFile::Append(const QString& path, const QString& line)
{
    m_pending.append(line.toUtf8());
    return Flush(path);
}

void CLogFile::Requeue(const QList<QByteArray>& lines)
{
    m_pending = lines + m_pending;
}

bool CLogFile::Flush(const QString& path)
{
    if (!m_pending.isEmpty()) {
        QByteArray lines;
        qsizetype size = 0;
        for (const QByteArray& line : std::as_const(m_pending))
            size += line.size() + 1;
        lines.reserve(size);
        for (const QByteArray& line : std::as_const(m_pending)) {
            lines += line;
            if (!line.endsWith('\n'))
                lines += '\n';
        }
        const WriteResult result = WriteLines(path, lines);
        if (result != WriteResult::Written) {
            if (!m_errorShown) {
                m_errorShown = true;
                CMessageBox::Error(result == WriteResult::NotRegularFile ? NotRegularText(path)
                                                                         : WriteErrorText(path));
            }
            return false;
        }
        ++m_writes;
        m_pending.clear();
    }
    m_errorShown = false;
    return true;
}
