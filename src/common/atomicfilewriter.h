#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>

// Replaces one file with new contents in a single step, so that a reader (or a writer
// killed half-way) never sees a file cut short.
//
// Begin() follows symbolic links to the file the last one names (every link stays; with
// Links::Replace a link at the path is replaced itself, its target never touched),
// creates its folder and locks the folder against every other writer of this process and
// of other processes until the object goes. Under that lock the caller reads the file,
// works out the new text and hands it to Commit(), which writes it to a new temporary
// file beside the target (".NAME.tmp-PID-N", readable by its owner only), syncs it to
// disk and renames it over the target. Every step is checked; when one fails the old
// file stays as it was and the temporary file is removed. Temporary files that a killed
// writer left behind are removed by the next Begin().
class CAtomicFileWriter {
public:
    enum class Links { Follow, Replace };

    explicit CAtomicFileWriter(const QString& path, Links links = Links::Follow);
    ~CAtomicFileWriter();
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;

    // False when the links cannot be followed, the folder cannot be made or locked, or the
    // existing file is not the user's to replace (read-only to its owner, or another
    // user's).
    bool Begin();
    // The file that Commit() replaces, its name as bytes; set by a successful Begin().
    const QByteArray& Target() const { return m_target; }
    bool Commit(const QByteArray& data);

private:
    QString m_path;
    Links m_links;
    QByteArray m_target;
    QByteArray m_dir;
    QByteArray m_baseName;
    std::unique_lock<std::mutex> m_threadLock;
    int m_dirFd = -1;
};
