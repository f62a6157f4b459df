#pragma once

#include <QString>

// What tells one state of the log file from another without reading it: its place,
// device, inode, size, modification and change times. A missing file has every field 0.
struct CLogFileState {
    QString path;
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNsecs = 0;
    qint64 changedNsecs = 0;

    static CLogFileState Of(const QString& path);

    friend bool operator==(const CLogFileState&, const CLogFileState&) = default;
};
