#include "billing/logbackreader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

CLogBackReader::CLogBackReader(qsizetype blockSize)
    : m_blockSize(std::max<qsizetype>(blockSize, 1))
    // Room for a block and, after it, the unfinished first line of the block read before:
    // a line as long as a record may be, and the CR of a CR LF.
    , m_capacity(m_blockSize + CLogReader::kMaxLineLength + 1)
{}

CLogBackReader::~CLogBackReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CLogBackReader::Open(const QString& path)
{
    if (m_fd >= 0)
        ::close(m_fd);
    qint64 size = 0;
    m_fd = CLogReader::OpenRegular(path, m_problem, &size);
    if (!m_memory)
        m_memory.reset(new char[size_t(m_capacity)]);
    m_position = m_fd >= 0 ? size : 0;
    m_begin = m_end = m_memory.get() + m_capacity;
    m_skipping = false;
    m_done = m_fd < 0;
    return m_fd >= 0;
}

bool CLogBackReader::ReadBlock()
{
    // The unfinished line moves to the end of the buffer, the block goes in front of it.
    qsizetype carry = m_end - m_begin;
    if (m_skipping || carry > CLogReader::kMaxLineLength + 1) {
        m_skipping = true;
        carry = 0;
    }
    char* const tail = m_memory.get() + m_capacity - carry;
    std::memmove(tail, m_begin, size_t(carry));
    const qint64 count = std::min<qint64>(m_blockSize, m_position);
    char* const block = tail - count;
    qint64 got = 0;
    while (got < count) {
        const ssize_t read =
            ::pread(m_fd, block + got, size_t(count - got), off_t(m_position - count + got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return false;
        got += read;
    }
    m_position -= count;
    m_begin = block;
    m_end = tail + carry;
    return true;
}

bool CLogBackReader::Next(CLogRecord& record)
{
    while (!m_done) {
        const void* found = memrchr(m_begin, '\n', size_t(m_end - m_begin));
        if (!found && m_position > 0) {
            if (!ReadBlock())
                m_done = true;
            continue;
        }
        // A line feed before the line, or the start of the file.
        const char* const start = found ? static_cast<const char*>(found) + 1 : m_begin;
        const char* end = m_end;
        m_end = found ? static_cast<const char*>(found) : m_begin;
        m_done = !found;
        if (m_skipping) {
            m_skipping = false;
            continue;
        }
        if (end > start && end[-1] == '\r')
            --end;
        if (end - start <= CLogReader::kMaxLineLength &&
            CLogReader::ParseLine(QByteArrayView(start, end - start), record))
            return true;
    }
    return false;
}
