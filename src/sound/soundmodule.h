#pragma once

#include "sound/soundplayer.h"

#include <QPluginLoader>
#include <QStringList>

class QObject;

// The sound player behind CSoundPlayer: loads the sound module (orvalis-sound.so, the Qt
// Multimedia player) when the first sound is asked for and hands every sound to it. The
// module is looked for in each folder of the list in turn; when it is in none of them, or
// cannot be loaded, no sound is heard, the program goes on, and no second attempt is made.
class CSoundModule : public CSoundPlayer {
public:
    static QString FileName();
    // Beside the executable (the build tree), then the installed module folder.
    static QStringList DefaultFolders();

    explicit CSoundModule(QStringList folders = DefaultFolders());
    ~CSoundModule() override;

    CSoundModule(const CSoundModule&) = delete;
    CSoundModule& operator=(const CSoundModule&) = delete;

    void PlayBeeps(int times) override;
    void PlayFile(const QString& path) override;

    // The loaded player, null before the first sound and when the module is missing.
    QObject* Player() const { return m_player; }

private:
    QObject* Load();

    QStringList m_folders;
    QPluginLoader m_loader;
    QObject* m_player = nullptr;
    bool m_tried = false;
};
