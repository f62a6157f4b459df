#include "sound/soundmodule.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

// Whether a library whose file name contains `name` is mapped into this process.
bool Mapped(const QString& name)
{
    QFile maps(u"/proc/self/maps"_s);
    return maps.open(QIODevice::ReadOnly) && QString::fromLatin1(maps.readAll()).contains(name);
}

// A short, valid WAV file: 16-bit mono PCM at 8000 Hz, a tenth of a second of a square wave.
QByteArray Wave()
{
    QByteArray pcm;
    for (int i = 0; i < 800; ++i) {
        const qint16 sample = (i / 10) % 2 ? 8000 : -8000;
        pcm.append(reinterpret_cast<const char*>(&sample), 2);
    }
    auto le32 = [](quint32 v) {
        const quint32 le = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&le), 4);
    };
    auto le16 = [](quint16 v) {
        const quint16 le = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char*>(&le), 2);
    };
    return "RIFF" + le32(36 + pcm.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(8000) +
           le32(16000) + le16(2) + le16(16) + "data" + le32(pcm.size()) + pcm;
}

QString Chosen(const CSoundModule& sound)
{
    return sound.Player()->property("chosen").toString();
}

} // namespace

class TestSoundModule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void withoutModuleNothingPlays();
    void unplayableFilePlaysTheChirp();

private:
    QTemporaryDir m_dir;
};

void TestSoundModule::withoutModuleNothingPlays()
{
    // No module at all: silence, and the program goes on.
    CSoundModule none({m_dir.filePath(u"nowhere"_s)});
    none.PlayBeeps(2);
    none.PlayFile(m_dir.filePath(u"missing.wav"_s));
    QVERIFY(!none.Player());

    // A file by the module's name that is no module: one warning, one attempt.
    QFile bogus(m_dir.filePath(CSoundModule::FileName()));
    QVERIFY(bogus.open(QIODevice::WriteOnly) && bogus.write("not a library") > 0);
    bogus.close();
    CSoundModule broken({m_dir.path()});
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^Sounds are off: "_s));
    broken.PlayBeeps(2);
    broken.PlayBeeps(2);
    QVERIFY(!broken.Player());
    QVERIFY(!Mapped(u"libQt6Multimedia"_s));
}

void TestSoundModule::unplayableFilePlaysTheChirp()
{
    // Qt Multimedia is only mapped once the first sound is asked for.
    CSoundModule sound(
        {m_dir.filePath(u"nowhere"_s), QStringLiteral(ORVALIS_SOUND_MODULE_BUILD_DIR)});
    QVERIFY(!sound.Player());
    QVERIFY(!Mapped(u"libQt6Multimedia"_s));

    const QString good = m_dir.filePath(u"good.wav"_s);
    QFile goodFile(good);
    QVERIFY(goodFile.open(QIODevice::WriteOnly) && goodFile.write(Wave()) > 0);
    goodFile.close();
    sound.PlayFile(good);
    QVERIFY(sound.Player());
    QVERIFY(Mapped(u"libQt6Multimedia"_s));
    QCOMPARE(Chosen(sound), u"file"_s);

    sound.PlayBeeps(1);
    QCOMPARE(Chosen(sound), u"beeps"_s);

    // A file that is not there plays the chirp at once.
    sound.PlayFile(m_dir.filePath(u"missing.wav"_s));
    QCOMPARE(Chosen(sound), u"beeps"_s);
    sound.PlayFile(good);
    QCOMPARE(Chosen(sound), u"file"_s);

    // A folder is no sound file either.
    sound.PlayFile(m_dir.path());
    QCOMPARE(Chosen(sound), u"beeps"_s);

    // A file that cannot be decoded is found out while it loads, and the chirp plays.
    const QString bad = m_dir.filePath(u"bad.wav"_s);
    QFile badFile(bad);
    QVERIFY(badFile.open(QIODevice::WriteOnly) && badFile.write("RIFF, but no sound") > 0);
    badFile.close();
    sound.PlayFile(bad);
    QCOMPARE(Chosen(sound), u"file"_s);
    QTRY_COMPARE(Chosen(sound), u"beeps"_s);

    // A good file stays the one chosen once it has loaded.
    sound.PlayFile(good);
    QTRY_VERIFY(sound.Player()->property("fileLoaded").toBool());
    QCOMPARE(Chosen(sound), u"file"_s);
}

int main(int argc, char** argv)
{
    // No sound server: the test never needs an audio device and never makes a noise.
    qputenv("PULSE_SERVER", "unix:/nonexistent");
    QCoreApplication app(argc, argv);
    TestSoundModule test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soundmodule.moc"
