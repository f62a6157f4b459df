#pragma once

#include <QString>

// Sounds of the connect and drop actions. Playing never blocks the caller, and a sound
// that is asked for while another still plays is skipped. Where there is no audio device
// nothing is heard and nothing is reported.
class CSoundPlayer {
public:
    virtual ~CSoundPlayer();

    // The short rising and falling chirp, played `times` times in a row.
    virtual void PlayBeeps(int times) = 0;
    // A sound file.
    virtual void PlayFile(const QString& path) = 0;
};
