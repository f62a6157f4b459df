#include "common/apppaths.h"

#include "common/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QString FolderOf(const QString& file)
{
    return QFileInfo(file).absolutePath();
}

QString ResolveFolder(const CSettingsStore& store, const QString& text)
{
    QString folder = text.trimmed();
    if (folder.isEmpty())
        return FolderOf(store.Path());
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder = QDir::homePath() + folder.mid(1);
    if (QDir::isRelativePath(folder))
        folder = QDir(FolderOf(store.Path())).filePath(folder);
    return QDir::cleanPath(folder);
}
} // namespace

QString CAppPaths::SettingsFile(const QString& executableDir)
{
    const QString beside = QDir(executableDir).filePath(QStringLiteral("ov.ini"));
    if (!executableDir.isEmpty() && QFileInfo(beside).isFile())
        return beside;
    return ConfigHome() + QStringLiteral("/orvalis/ov.ini");
}

QString CAppPaths::DefaultLogFolder(const CSettingsStore& store)
{
    QString folder = FolderOf(store.Path());
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString CAppPaths::LogFolder(const CSettingsStore& store)
{
    const QString text = store.Read(Keys::IniPath, DefaultLogFolder(store));
    return ResolveFolder(store, text);
}

QString CAppPaths::LogFile(const CSettingsStore& store)
{
    return LogFolder(store) + QStringLiteral("/logfile.log");
}

QString CAppPaths::LogFileIn(const CSettingsStore& store, const QString& folderText)
{
    return QDir::cleanPath(ResolveFolder(store, folderText) + QStringLiteral("/logfile.log"));
}

QString CAppPaths::ConfigHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::homePath() + QStringLiteral("/.config");
}

QString CAppPaths::RuntimeDir()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return QDir::cleanPath(xdg);
    const QString dir = QDir::tempPath() + QStringLiteral("/orvalis-") + QString::number(getuid());
    ::mkdir(QFile::encodeName(dir).constData(), 0700);
    return dir;
}
