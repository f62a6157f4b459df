#pragma once

#include "billing/logrecord.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

// Reads the connection log record by record, in file order. For a file larger than one
// read, a second thread reads the file ahead into two buffers of fixed size while the
// caller splits the lines of the other one, so memory does not grow with the log. The
// buffers stay with the reader from one file to the next.
//
// Empty lines, lines of separators only and over-long lines are skipped. Only a regular
// file is read: a pipe, a device or a folder given as the log is refused when it is opened,
// without waiting for a writer and without reading endless data.
class CLogReader {
public:
    // Lines longer than this are no records; the reader skips them and goes on.
    static constexpr qsizetype kMaxLineLength = 64 * 1024;

    // Why Open failed.
    enum class Problem { None, Missing, NotRegularFile, CannotRead };

    CLogReader();
    ~CLogReader();
    CLogReader(const CLogReader&) = delete;
    CLogReader& operator=(const CLogReader&) = delete;

    // Opens the log at path; false when it cannot be read, and Error() says why.
    bool Open(const QString& path);
    // The same for the part of the log from offset from up to offset to (to its end when
    // to is below 0); from must be where a line starts, to where one ends. A part is read
    // without a thread reading ahead: the parts of a log are read at once on threads of
    // their own, which a thread reading ahead for each would only take turns with.
    bool Open(const QString& path, qint64 from, qint64 to);
    Problem Error() const { return m_problem; }
    // Whether the log at path could be opened for reading, without reading it.
    static Problem Check(const QString& path);
    // Fills record with the next record and returns true; false at the end of the log.
    // The record's views stay valid until the next call.
    bool Next(CLogRecord& record);
    // Where in the file the line of the record Next gave last starts.
    qint64 LineOffset(const CLogRecord& record) const
    {
        return m_dataOffset + (record.line.data() - m_data);
    }

    // Streams the records in file order; returns false (and visits nothing) when the file
    // cannot be opened, with the reason in problem when given. Loops that run for every
    // record of a big log use a reader directly, which saves a call through the function
    // object per record.
    static bool ReadAll(const QString& path, const std::function<void(const CLogRecord&)>& visit,
                        Problem* problem = nullptr);
    // Reads one line (without its line break) by the reading rules; false when the line
    // holds no field and is to be skipped.
    static bool ParseLine(QByteArrayView line, CLogRecord& record);

    // One line saying why the log at path could not be read.
    static QString ProblemText(const QString& path, Problem problem);

    // The open file of a regular file at path; -1 with the reason in problem otherwise.
    static int OpenRegular(const QString& path, Problem& problem, qint64* size = nullptr);

private:
    struct ReadAhead;

    // Open, with a thread reading ahead for a file larger than one read when readsAhead.
    bool Open(const QString& path, qint64 from, qint64 to, bool readsAhead);
    // Moves on to the next buffer, with the unfinished last line of the current one
    // placed in front of its data; false when the file has nothing more to give.
    bool Refill();
    void Close();

    std::unique_ptr<char[]> m_memory; // the two buffers, kept for the next file
    std::unique_ptr<ReadAhead> m_readAhead;
    const char* m_next = nullptr;  // the first line not handed out yet
    const char* m_limit = nullptr; // the end of the data in the buffer
    const char* m_data = nullptr;  // the data read last, which starts at m_dataOffset
    qint64 m_dataOffset = 0;
    qint64 m_fileRead = 0;   // bytes read from the file so far
    bool m_skipping = false; // dropping the rest of an over-long line
    bool m_atEnd = false;
    Problem m_problem = Problem::None;
};
