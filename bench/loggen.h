#pragma once

#include <QString>

// Writes a connection log of realistic records for benchmarks: calls spread over two
// years, a few users, modems and providers, durations from seconds to hours, some crossing
// midnight, byte counts up to tens of megabytes. The same seed gives the same file.
class CLogGenerator {
public:
    // Writes count records to path (replacing the file); false when it cannot be written.
    static bool Write(const QString& path, qint64 count, quint32 seed = 1);
};
