#pragma once

#include "billing/logreader.h"
#include "billing/logrecord.h"

#include <QString>

#include <memory>

// Reads the connection log record by record from its end to its start, newest call
// first, in blocks of fixed size: memory does not grow with the log. The records are
// those CLogReader gives, by the same rules, in the opposite order: a line that crosses
// the border of two blocks is put together again, an over-long line is skipped whole,
// and a last line without its line break counts. What is appended to the file after Open
// is not read.
class CLogBackReader {
public:
    static constexpr qsizetype kDefaultBlockSize = qsizetype(256) << 10;

    explicit CLogBackReader(qsizetype blockSize = kDefaultBlockSize);
    ~CLogBackReader();
    CLogBackReader(const CLogBackReader&) = delete;
    CLogBackReader& operator=(const CLogBackReader&) = delete;

    // Opens the log at path; false when it cannot be read, and Error() says why.
    bool Open(const QString& path);
    CLogReader::Problem Error() const { return m_problem; }
    // Fills record with the record before the one given last and returns true; false at
    // the start of the log. The record's views stay valid until the next call.
    bool Next(CLogRecord& record);

private:
    // Reads the block in front of the data not split yet, the unfinished line kept after
    // it; false when the file cannot be read.
    bool ReadBlock();

    qsizetype m_blockSize;
    qsizetype m_capacity;
    std::unique_ptr<char[]> m_memory;
    int m_fd = -1;
    qint64 m_position = 0;         // the bytes in front of this offset are not read yet
    const char* m_begin = nullptr; // the data read and not split yet
    const char* m_end = nullptr;   // where the next line ends (its line feed)
    bool m_skipping = false;       // dropping the start of an over-long line
    bool m_done = false;
    CLogReader::Problem m_problem = CLogReader::Problem::None;
};
