#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// A small file beside the log that keeps what must survive the program's end until it is
// in the log: the call in progress (when it started, what it carried so far, when it was
// last seen) and the records that could not be written yet.
//
// Every save replaces the whole file atomically (temporary file, fsync, rename) and leaves
// it readable by its owner only; an empty journal is removed. A link at the journal's name
// is replaced, never followed, and only a regular file of the user is read or removed. A start-up
// after a crash, a kill or a logout reads it back: a call that is still up is taken over, one that
// is gone becomes a record ending when it was last seen.
class CCallJournal {
public:
    struct Call {
        QDateTime start;
        QDateTime lastSeen;
        QString user;
        QString device;
        QString entry;
        QString interfaceName;
        qint64 sent = 0; // bytes of the call so far, as the log record would hold them
        qint64 received = 0;
        // The counters of the call's interface when it was last seen, so that a program
        // that takes the call over can add what the interface carried in between.
        QString counterSource; // empty when they could not be read
        qint64 counterIndex = 0;
        quint64 counterReceived = 0;
        quint64 counterSent = 0;
    };

    struct State {
        std::optional<Call> call;
        QList<QByteArray> pending; // log lines with their line feeds, oldest first

        bool IsEmpty() const { return !call && pending.isEmpty(); }
    };

    // What Load() found at the journal's name.
    enum class Condition {
        Missing,
        Read,
        Damaged,    // read, but part of it skipped
        Unreadable, // not read: no regular file of ours, too large, or no access
    };

    explicit CCallJournal(QString path);

    const QString& Path() const { return m_path; }

    // Reads the journal; a missing file is an empty state. What cannot be read in a
    // damaged file is skipped; `problem` then says what was wrong.
    State Load(QString* problem = nullptr, Condition* condition = nullptr) const;
    // Replaces the journal with this state (removes it when the state is empty). False
    // when the file could not be written; the old one is then left as it was.
    bool Save(const State& state) const;
    // Keeps what is at the journal's name under a new name that carries `now`, so that a
    // journal that could not be read is never lost; the new path, empty when it failed.
    QString MoveAside(const QDateTime& now) const;

    // The log record of a journaled call that ended at its last sighting.
    static QByteArray RecordOf(const Call& call);
    // True when the end of the log at logPath already holds a record that starts at the
    // same moment for the same entry as `line`: a record written just before a crash
    // that did not get as far as updating the journal.
    static bool AlreadyLogged(const QString& logPath, const QByteArray& line);
    // The keys (see KeyOf) of the records at the end of the log at logPath, read once for
    // any number of lines to look up.
    static QSet<QByteArray> LoggedKeys(const QString& logPath);
    // What makes a call the same call: its start date, start time and entry; empty for a
    // line that holds no record.
    static QByteArray KeyOf(QByteArrayView line);

private:
    QString m_path;
};
