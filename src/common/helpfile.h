#pragma once

#include <QString>
#include <QStringList>

// Where the program's HTML help lives: beside the executable when run from the build
// folder, else in the installed data folder.
class CHelpFile {
public:
    // The first existing of Candidates(executableDir); empty when there is none.
    static QString Find(const QString& executableDir);

    // The places looked at, in order: <exe dir>/help/index.html,
    // <exe dir>/../share/orvalis/help/index.html, /usr/local/share/orvalis/help/index.html,
    // /usr/share/orvalis/help/index.html.
    static QStringList Candidates(const QString& executableDir);

    // The first path that names a readable regular file; empty when there is none.
    static QString FirstExisting(const QStringList& paths);
};
