#include "sound/soundmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>

#include <utility>

QString CSoundModule::FileName()
{
    return QStringLiteral("orvalis-sound.so");
}

QStringList CSoundModule::DefaultFolders()
{
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir::cleanPath(here + u'/' + QStringLiteral(ORVALIS_SOUND_MODULE_FROM_BIN))};
}

CSoundModule::CSoundModule(QStringList folders)
    : m_folders(std::move(folders))
{}

// The module stays loaded: the player is its root object and the loader owns it.
CSoundModule::~CSoundModule()
{
    // The player goes now, while Qt Multimedia is whole. Left to the plugin loader, it
    // would go at the very end of the process, after Multimedia's own sample cache, and
    // destroying a sound effect then walks a cache that no longer exists.
    delete m_player;
}

QObject* CSoundModule::Load()
{
    if (m_tried)
        return m_player;
    m_tried = true;
    for (const QString& folder : std::as_const(m_folders)) {
        const QString path = QDir(folder).filePath(FileName());
        if (!QFileInfo::exists(path))
            continue;
        m_loader.setFileName(path);
        m_player = m_loader.instance();
        if (m_player)
            break;
        qWarning("Sounds are off: %s", qPrintable(m_loader.errorString()));
    }
    return m_player;
}

void CSoundModule::PlayBeeps(int times)
{
    if (QObject* player = Load())
        QMetaObject::invokeMethod(player, "PlayBeeps", Q_ARG(int, times));
}

void CSoundModule::PlayFile(const QString& path)
{
    if (QObject* player = Load())
        QMetaObject::invokeMethod(player, "PlayFile", Q_ARG(QString, path));
}
