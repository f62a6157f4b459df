#include "common/helpfile.h"

#include <QDir>
#include <QFileInfo>

QString CHelpFile::Find(const QString& executableDir)
{
    return FirstExisting(Candidates(executableDir));
}

QStringList CHelpFile::Candidates(const QString& executableDir)
{
    const QString page = QStringLiteral("help/index.html");
    QStringList paths;
    // Without a folder of its own there is nothing relative to look at; a relative
    // path would be taken from whatever the current folder happens to be.
    if (!executableDir.isEmpty()) {
        const QDir exe(executableDir);
        paths << QDir::cleanPath(exe.filePath(page))
              << QDir::cleanPath(exe.filePath(QStringLiteral("../share/orvalis/") + page));
    }
    paths << QStringLiteral("/usr/local/share/orvalis/") + page
          << QStringLiteral("/usr/share/orvalis/") + page;
    return paths;
}

QString CHelpFile::FirstExisting(const QStringList& paths)
{
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return {};
}
