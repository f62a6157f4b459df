#pragma once

#include "monitor/soundplayer.h"

#include <QBuffer>
#include <QObject>

#include <memory>

class QAudioSink;
class QSoundEffect;

// Plays the connect and drop sounds through Qt Multimedia without blocking the window.
// Where there is no audio output nothing plays and nothing is reported.
class CMultimediaSound : public QObject, public CSoundPlayer {
    Q_OBJECT
public:
    explicit CMultimediaSound(QObject* parent = nullptr);
    ~CMultimediaSound() override;

    void PlayBeeps(int times) override;
    void PlayFile(const QString& path) override;

    // The chirp as 16-bit mono PCM at the given rate: 1 ms tones rising from 0 to 2900 Hz,
    // then falling from 3000 to 100 Hz, in steps of 100 Hz; `times` chirps in a row.
    static QByteArray BeepSamples(int times, int sampleRate);

private:
    bool Playing() const;

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_beeps;
    std::unique_ptr<QSoundEffect> m_effect;
};
