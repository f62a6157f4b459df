#include "sound/module/multimediasound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <cmath>
#include <numbers>

namespace {
constexpr int kSampleRate = 22050;

// The effect may be dropped from inside its own signal: delete it once control is back in
// the event loop.
void DeleteLater(QSoundEffect* effect)
{
    if (effect)
        effect->deleteLater();
}
} // namespace

CMultimediaSound::CMultimediaSound(QObject* parent)
    : QObject(parent)
    , m_effect(nullptr, &DeleteLater)
{}

CMultimediaSound::~CMultimediaSound()
{
    // Not inside a signal of the effect here: it can go at once.
    delete m_effect.release();
}

QByteArray CMultimediaSound::BeepSamples(int times, int sampleRate)
{
    QList<int> tones;
    for (int hz = 0; hz <= 2900; hz += 100)
        tones.append(hz);
    for (int hz = 3000; hz >= 100; hz -= 100)
        tones.append(hz);
    const int perTone = sampleRate / 1000;
    QByteArray pcm;
    pcm.reserve(qsizetype(times) * tones.size() * perTone * 2);
    for (int t = 0; t < times; ++t) {
        double phase = 0;
        for (const int hz : tones) {
            for (int i = 0; i < perTone; ++i) {
                const auto sample = static_cast<qint16>(std::lround(12000.0 * std::sin(phase)));
                pcm.append(static_cast<char>(sample & 0xff));
                pcm.append(static_cast<char>((sample >> 8) & 0xff));
                phase += 2 * std::numbers::pi * hz / sampleRate;
            }
        }
    }
    return pcm;
}

bool CMultimediaSound::Playing() const
{
    return (m_sink && m_sink->state() == QAudio::ActiveState) ||
           (m_effect && m_effect->isPlaying());
}

bool CMultimediaSound::FileLoaded() const
{
    return m_effect && m_effect->status() == QSoundEffect::Ready;
}

void CMultimediaSound::PlayBeeps(int times)
{
    if (Playing())
        return;
    m_chosen = QStringLiteral("beeps");
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    m_beeps.close();
    m_beeps.setData(BeepSamples(times, kSampleRate));
    m_beeps.open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->start(&m_beeps);
}

void CMultimediaSound::PlayFile(const QString& path)
{
    if (Playing())
        return;
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) {
        PlayBeeps(kFallbackBeeps);
        return;
    }
    m_chosen = QStringLiteral("file");
    // The file is decoded while it loads, with or without an audio output; one that
    // cannot be decoded ends in the Error status.
    m_effect.reset(new QSoundEffect);
    connect(m_effect.get(), &QSoundEffect::statusChanged, this, [this] {
        if (m_effect && m_effect->status() == QSoundEffect::Error)
            FileFailed();
    });
    m_effect->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    if (!QMediaDevices::defaultAudioOutput().isNull())
        m_effect->play();
}

void CMultimediaSound::FileFailed()
{
    m_effect.reset();
    PlayBeeps(kFallbackBeeps);
}
