#pragma once

#include <QBuffer>
#include <QObject>
#include <QString>

#include <memory>

class QAudioSink;
class QSoundEffect;

// Plays the connect and drop sounds through Qt Multimedia without blocking the window.
//
// Built as a module of its own (orvalis-sound.so) that CSoundModule loads when the first
// sound is asked for, so a program that never plays a sound never maps Qt Multimedia and
// the audio libraries behind it. CSoundModule calls the two invokable methods by name.
//
// A sound file that does not exist, cannot be read or cannot be decoded plays the chirp
// instead, so a sound asked for is never silently lost. Where there is no audio output
// nothing is heard and nothing is reported; Chosen() still tells which sound was picked.
class CMultimediaSound : public QObject {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.orvalis.SoundPlayer/1")
    Q_PROPERTY(QString chosen READ Chosen)
    Q_PROPERTY(bool fileLoaded READ FileLoaded)
public:
    // How often the chirp plays in place of a file that cannot be played.
    static constexpr int kFallbackBeeps = 2;

    explicit CMultimediaSound(QObject* parent = nullptr);
    ~CMultimediaSound() override;

    // The chirp, `times` times in a row. Skipped while another sound plays.
    Q_INVOKABLE void PlayBeeps(int times);
    // A sound file (WAV); the chirp when the file cannot be played. Skipped while another
    // sound plays.
    Q_INVOKABLE void PlayFile(const QString& path);

    // The sound picked last: "beeps", "file" or "" before the first.
    QString Chosen() const { return m_chosen; }
    // True once the file chosen last has been loaded and decoded.
    bool FileLoaded() const;

    // The chirp as 16-bit mono PCM at the given rate: 1 ms tones rising from 0 to 2900 Hz,
    // then falling from 3000 to 100 Hz, in steps of 100 Hz; `times` chirps in a row.
    static QByteArray BeepSamples(int times, int sampleRate);

private:
    bool Playing() const;
    // The file could not be loaded after all: the chirp plays in its place.
    void FileFailed();

    std::unique_ptr<QAudioSink> m_sink;
    QBuffer m_beeps;
    std::unique_ptr<QSoundEffect, void (*)(QSoundEffect*)> m_effect;
    QString m_chosen;
};
