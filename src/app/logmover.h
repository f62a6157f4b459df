#pragma once

#include <QString>

// Moves the connection log to another folder without ever losing it: an existing file at
// the destination is never overwritten, and across file systems the source is removed only
// after its copy is complete on disk.
class CLogMover {
public:
    enum class Result { Moved, NoSource, SameFile, DestinationExists, Failed };

    static Result Move(const QString& source, const QString& destination);
};
