#include "gui/helpopener.h"

#include "common/helpfile.h"
#include "common/messagebox.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>

void CHelpOpener::Open(const QString& fragment)
{
    const QString dir = QCoreApplication::applicationDirPath();
    Open(CHelpFile::Find(dir), CHelpFile::Candidates(dir), fragment,
         [](const QUrl& url) { return QDesktopServices::openUrl(url); });
}

bool CHelpOpener::Open(const QString& helpFile, const QStringList& searched,
                       const QString& fragment, const UrlOpener& opener)
{
    if (helpFile.isEmpty()) {
        QStringList places;
        for (const QString& path : searched)
            places << QDir::toNativeSeparators(path);
        CMessageBox::Inform(QCoreApplication::translate("CHelpOpener",
                                                        "The help is not installed. It was "
                                                        "looked for in:\n%1")
                                .arg(places.join(QLatin1Char('\n'))));
        return false;
    }
    QUrl url = QUrl::fromLocalFile(helpFile);
    if (!fragment.isEmpty())
        url.setFragment(fragment);
    if (opener(url))
        return true;
    CMessageBox::Inform(QCoreApplication::translate("CHelpOpener",
                                                    "No web browser could be started to show "
                                                    "the help. The help is in: %1")
                            .arg(QDir::toNativeSeparators(helpFile)));
    return false;
}
