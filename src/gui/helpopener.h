#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens the program's HTML help in the desktop's web browser; when there is no help file
// or nothing could show it, says so in a box, with where the help is (or was looked for).
class CHelpOpener {
public:
    // Hands a URL to whatever shows it; false when nothing could be started.
    using UrlOpener = std::function<bool(const QUrl&)>;

    // The help found beside the executable or in the data folders, at `fragment` (none:
    // its start), through the desktop's URL handler.
    static void Open(const QString& fragment = QString());

    // The help file `helpFile` (empty: none was found; `searched` lists where it was looked
    // for) at `fragment`, through `opener`. False when a box told that it failed.
    static bool Open(const QString& helpFile, const QStringList& searched, const QString& fragment,
                     const UrlOpener& opener);
};
