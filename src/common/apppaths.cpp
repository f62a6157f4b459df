#include "common/apppaths.h"

#include "common/filename.h"
#include "common/messagebox.h"
#include "common/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString FolderOf(const QString& file)
{
    return QFileInfo(file).absolutePath();
}

// An absolute folder named by an environment variable, taken byte for byte.
QString FolderFromEnvironment(const char* name)
{
    const QString folder = CFileName::Decode(qgetenv(name));
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder))
        return {};
    return QDir::cleanPath(folder);
}

// Makes the folder with mode 0700 whatever the umask, when it does not exist yet.
void MakePrivateFolder(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) == 0)
        ::chmod(path.constData(), 0700);
}

// True when the folder is a real folder (not a link), owned by us and private to us.
bool IsPrivateFolder(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 07777) == 0700;
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

bool CAppPaths::IsValidFolderText(const QString& text)
{
    return !text.contains(QChar(u'\0')) && !text.contains(QChar(u'\n')) &&
           !text.contains(QChar(u'\r'));
}

QString CAppPaths::LogFolder(const CSettingsStore& store)
{
    const QString text = store.Read(Keys::IniPath, DefaultLogFolder(store));
    if (!IsValidFolderText(text)) {
        // Told once per bad value, not at every call that looks for the log.
        static std::mutex mutex;
        static QString told;
        bool tell = false;
        {
            const std::lock_guard lock(mutex);
            tell = told != text;
            told = text;
        }
        if (tell)
            CMessageBox::Error(QStringLiteral("The log folder set in %1 holds a line break or a "
                                              "NUL character, which no folder name can. The "
                                              "log is kept in %2 instead until a valid folder "
                                              "is chosen on the General page.")
                                   .arg(store.Path(), DefaultLogFolder(store)));
        return ResolveFolder(store, QString());
    }
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
    const QString xdg = FolderFromEnvironment("XDG_CONFIG_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString CAppPaths::CacheHome()
{
    const QString xdg = FolderFromEnvironment("XDG_CACHE_HOME");
    if (!xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.cache");
}

QString CAppPaths::RuntimeDir()
{
    return RuntimeDir(QDir::tempPath());
}

QString CAppPaths::RuntimeDir(const QString& tempRoot)
{
    const QString xdg = FolderFromEnvironment("XDG_RUNTIME_DIR");
    struct stat st {};
    if (!xdg.isEmpty() && ::stat(CFileName::Encode(xdg).constData(), &st) == 0 &&
        S_ISDIR(st.st_mode))
        return xdg;

    const QString shared =
        QDir(tempRoot).filePath(QStringLiteral("orvalis-") + QString::number(::geteuid()));
    const QByteArray sharedName = CFileName::Encode(shared);
    MakePrivateFolder(sharedName);
    if (IsPrivateFolder(sharedName))
        return shared;

    // Someone else may have made the folder in advance to catch our requests or keep us
    // from starting: use a folder only we can reach.
    const QString own = CacheHome() + QStringLiteral("/orvalis/run");
    CFileName::MakePath(own);
    const QByteArray ownName = CFileName::Encode(own);
    ::chmod(ownName.constData(), 0700);
    static std::atomic_bool told = false;
    if (!told.exchange(true))
        std::fprintf(stderr,
                     "orvalis: %s is not a private folder of this user (another owner, a link "
                     "or open to others); using %s for the socket and lock instead.\n",
                     sharedName.constData(), ownName.constData());
    return own;
}
