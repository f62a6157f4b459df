#pragma once

#include "billing/logrecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// The connection log: one text line per finished call, nine fields each followed by "|".
//
// Writing goes through an instance, which keeps the records it could not write and writes
// them, oldest first, at the next chance (the next Append or Flush). A failure is shown
// once; the box shows again only after the log has been written successfully in between.
// Every record reaches the disk with a single write on a file opened for appending and is
// synced before the file is closed, so a crash never leaves half a line behind.
//
// Reading streams the file through two buffers of fixed size: memory does not grow with
// the log.
class CLogFile {
public:
    // Lines longer than this are no records; the reader skips them and goes on.
    static constexpr qsizetype kMaxLineLength = 64 * 1024;

    // The line for one call, line feed included. "|", CR, LF and other control characters
    // in the names are replaced, and an empty name is written as one blank, so the line
    // always reads back as the same nine fields.
    static QString FormatRecord(const QDateTime& start, const QDateTime& end, const QString& user,
                                const QString& device, const QString& entry, qint32 up,
                                qint32 down);
    // The name as FormatRecord writes it.
    static QString SanitizeName(const QString& name);

    // Reads the log record by record, in file order. A second thread reads the file ahead
    // into two buffers of fixed size while the caller splits the lines of the other one,
    // so memory does not grow with the log.
    // Empty lines, lines of separators only and over-long lines are skipped.
    class Reader {
    public:
        Reader();
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

        // Opens the log at path; false when it cannot be read.
        bool Open(const QString& path);
        // Fills record with the next record and returns true; false at the end of the log.
        // The record's views stay valid until the next call.
        bool Next(CLogRecord& record);

    private:
        struct ReadAhead;

        // Moves on to the next buffer, with the unfinished last line of the current one
        // placed in front of its data; false when the file has nothing more to give.
        bool Refill();
        void Close();

        std::unique_ptr<ReadAhead> m_readAhead;
        const char* m_next = nullptr;  // the first line not handed out yet
        const char* m_limit = nullptr; // the end of the data in the buffer
        bool m_skipping = false;       // dropping the rest of an over-long line
        bool m_atEnd = false;
    };

    // Streams the records in file order; returns false (and visits nothing) when the file
    // cannot be opened. Loops that run for every record of a big log use a Reader
    // directly, which saves a call through the function object per record.
    static bool ReadAll(const QString& path, const std::function<void(const CLogRecord&)>& visit);
    // Reads one line (without its line break) by the reading rules; false when the line
    // holds no field and is to be skipped.
    static bool ParseLine(QByteArrayView line, CLogRecord& record);

    // Queues the line (as given by FormatRecord) and writes every pending line to the log
    // at path. True when nothing is left pending. On failure shows the error box (once),
    // keeps the lines and tries again on the next Append or Flush.
    bool Append(const QString& path, const QString& line);
    // Writes the pending lines, if any; true when nothing is left pending. The monitor calls
    // it every minute and at exit.
    bool Flush(const QString& path);
    qsizetype PendingCount() const { return m_pending.size(); }
    // The lines waiting to be written, oldest first, line feeds included.
    const QList<QByteArray>& Pending() const { return m_pending; }
    // Puts lines kept from an earlier run in front of the waiting ones (they are older).
    void Requeue(const QList<QByteArray>& lines);

    // The text of the error box for the log at path.
    static QString WriteErrorText(const QString& path);

private:
    // Appends one line with a single write; false when the line did not reach the file.
    static bool WriteLine(const QString& path, const QByteArray& line);

    QList<QByteArray> m_pending;
    bool m_errorShown = false;
};
