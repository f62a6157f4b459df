#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// The connection log: one text line per finished call, nine fields each followed by "|".
//
// Writing goes through an instance, which keeps the records it could not write and writes
// them, oldest first, at the next chance (the next Append or Flush). A failure is shown
// once; the box shows again only after the log has been written successfully in between.
// The waiting records reach the disk together, with a single write on a file opened for
// appending, synced once before the file is closed, so a crash never leaves half a line
// behind and many records left by an earlier run cost one sync, not one each. Only a
// regular file is written to; a pipe, a device or a folder in the log's place keeps the
// records pending as a full disk does.
//
// Reading the log is the job of CLogReader.
class CLogFile {
public:
    // The line for one call, line feed included. "|", CR, LF and other control characters
    // in the names are replaced, and an empty name is written as one blank, so the line
    // always reads back as the same nine fields.
    static QString FormatRecord(const QDateTime& start, const QDateTime& end, const QString& user,
                                const QString& device, const QString& entry, qint64 up,
                                qint64 down);
    // The name as FormatRecord writes it.
    static QString SanitizeName(const QString& name);

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
    // How many times this instance wrote to the log (each one write and one sync).
    qint64 WriteCount() const { return m_writes; }

    // The text of the error box for the log at path.
    static QString WriteErrorText(const QString& path);
    // The text of the box when the log at path is a pipe, a device or a folder.
    static QString NotRegularText(const QString& path);

private:
    enum class WriteResult { Written, Failed, NotRegularFile };

    // Appends the lines with a single write; they reached the file only when Written.
    static WriteResult WriteLines(const QString& path, const QByteArray& lines);

    QList<QByteArray> m_pending;
    bool m_errorShown = false;
    qint64 m_writes = 0;
};
