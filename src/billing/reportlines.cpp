#include "billing/reportlines.h"

#include <cerrno>

#include <unistd.h>

// The open log, closed with the last lines that use it.
struct CReportLines::File {
    int fd = -1;
    ~File()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

CReportLines CReportLines::Read(const QString& path, const std::atomic<bool>* cancel,
                                std::atomic<qint64>* bytesRead, const CDataPlan& plan)
{
    CReportLines lines;
    lines.m_overage = CCallOverage(plan);
    CLogReader::Problem problem = CLogReader::Problem::None;
    auto file = std::make_shared<File>();
    file->fd = CLogReader::OpenRegular(path, problem);
    CLogReader reader;
    if (file->fd < 0 || !reader.Open(path))
        return lines;
    lines.m_file = std::move(file);
    CLogRecord record;
    qint64 read = 0;
    while (reader.Next(record)) {
        lines.m_lines.append(quint64(reader.LineOffset(record)) << kLengthBits |
                             quint64(record.line.size()));
        if (plan.Active())
            lines.m_overage.Add(record);
        read += record.line.size() + 1;
        // Looking at the flags once in a thousand lines costs nothing noticeable.
        if ((lines.Size() & 1023) == 0) {
            if (bytesRead)
                bytesRead->store(read, std::memory_order_relaxed);
            if (cancel && cancel->load(std::memory_order_relaxed))
                break;
        }
    }
    if (bytesRead)
        bytesRead->store(read, std::memory_order_relaxed);
    lines.m_overage.Finish();
    // The list grew by doubling; what the window keeps is only the lines.
    lines.m_lines.squeeze();
    return lines;
}

QByteArrayView CReportLines::Line(qsizetype index) const
{
    if (index < 0 || index >= m_lines.size() || !m_file)
        return {};
    const quint64 place = m_lines.at(index);
    const qint64 offset = qint64(place >> kLengthBits);
    const qsizetype length = qsizetype(place & ((quint64(1) << kLengthBits) - 1));
    m_line.resize(length);
    qsizetype got = 0;
    while (got < length) {
        const ssize_t read =
            ::pread(m_file->fd, m_line.data() + got, size_t(length - got), off_t(offset + got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return {};
        got += read;
    }
    return m_line;
}
