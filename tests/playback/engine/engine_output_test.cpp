#include <QTest>

#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <vector>

#include "engine_test_support.h"
#include "playback/engine.h"
#include "playback/engine/device_format.h"

using tunvell::AudioOutput;
using tunvell::StreamHandle;
using tunvell::testing::FixturePath;
using tunvell::testing::ScopedEnv;

namespace {

constexpr int DEVICE_RATE = 44100;
constexpr double DEVICE_BUFFER_SECONDS =
    static_cast<double>(tunvell::engine::DEVICE_BUFFER_FRAMES) / DEVICE_RATE;

// What SDL's disk driver wrote: 44.1 kHz stereo float frames, silence where
// nothing played.
struct DiskOutput {
    std::vector<float> left;

    static DiskOutput Read(const QString& path) {
        QFile file(path);
        DiskOutput output;
        if (!file.open(QIODevice::ReadOnly)) {
            return output;
        }
        const QByteArray bytes = file.readAll();
        const auto frames = static_cast<size_t>(bytes.size()) / (2 * sizeof(float));
        const auto* samples = reinterpret_cast<const float*>(bytes.constData());
        // Frames where the song played; a decoded sample is exactly zero only
        // now and then at a zero crossing, so this undercounts by a handful.
        for (size_t i = 0; i < frames; ++i) {
            if (samples[2 * i] != 0.0f || samples[2 * i + 1] != 0.0f) {
                output.left.push_back(samples[2 * i]);
            }
        }
        return output;
    }

    qint64 SoundingFrames() const { return static_cast<qint64>(left.size()); }

    // Frequency from the rising zero crossings of the middle of the sound,
    // away from the encoder's fade-in and fade-out.
    double Hertz() const {
        const size_t from = left.size() / 10;
        const size_t to = left.size() - from;
        int rises = 0;
        for (size_t i = from + 1; i < to; ++i) {
            rises += left[i - 1] < 0.0f && left[i] >= 0.0f ? 1 : 0;
        }
        return to > from ? rises * static_cast<double>(DEVICE_RATE) / static_cast<double>(to - from)
                         : 0.0;
    }
};

}  // namespace

// Plays into SDL's disk driver, which runs in real time and records what the
// device was given, and compares the sound with what the engine reports.
class EngineOutputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void playsAtTheRightSpeed_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("bytesPerSecond");
        QTest::addColumn<double>("hertz");
        // Without a gapless header the decoder's delay stays in the song as
        // exact silence: 176 frames in the 8 kHz file.
        QTest::addColumn<double>("silentSeconds");
        QTest::newRow("22.05 kHz mono") << "mono_22050.mp3" << 22050.0 * 2 << 440.0 << 0.0;
        QTest::newRow("8 kHz mono") << "mono_8000.mp3" << 8000.0 * 2 << 440.0 << 176 / 8000.0;
        QTest::newRow("48 kHz stereo") << "stereo_48000.mp3" << 48000.0 * 4 << 2500.0 << 0.0;
        QTest::newRow("44.1 kHz VBR") << "vbr_xing.mp3" << 44100.0 * 4 << 1000.0 << 0.0;
    }
    void playsAtTheRightSpeed() {
        QFETCH(QString, file);
        QFETCH(double, bytesPerSecond);
        QFETCH(double, hertz);
        QFETCH(double, silentSeconds);
        QTemporaryDir dir;
        const QString recording = dir.filePath(QStringLiteral("out.raw"));
        const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        const ScopedEnv output("SDL_DISKAUDIOFILE", QFile::encodeName(recording));
        const std::unique_ptr<AudioOutput> audio = tunvell::MakeAudioEngine();
        QVERIFY(audio->Init());
        const StreamHandle handle = audio->StreamCreateFile(FixturePath(file));
        QVERIFY(handle != 0);
        const qint64 length = audio->ChannelGetLength(handle);
        QVERIFY(audio->ChannelPlay(handle, false));

        // Midway the heard position trails what went out to the device by at
        // most the device's buffer, and is never ahead of it.
        QTRY_VERIFY_WITH_TIMEOUT(audio->ChannelGetPosition(handle) > length / 3, 5000);
        QVERIFY(audio->ChannelPause(handle));
        const double heardSeconds = audio->ChannelGetPosition(handle) / bytesPerSecond;
        // The driver writes out the buffer it holds.
        QTest::qWait(static_cast<int>(DEVICE_BUFFER_SECONDS * 1000) + 60);
        const double sentSeconds =
            static_cast<double>(DiskOutput::Read(recording).SoundingFrames()) / DEVICE_RATE +
            silentSeconds;
        QVERIFY2(
            heardSeconds <= sentSeconds + 0.01 &&
                heardSeconds > sentSeconds - DEVICE_BUFFER_SECONDS - 0.06,
            qPrintable(QStringLiteral("heard %1 s, sent %2 s").arg(heardSeconds).arg(sentSeconds)));

        QVERIFY(audio->ChannelPlay(handle, false));
        QTRY_COMPARE_WITH_TIMEOUT(audio->ChannelIsActive(handle), tunvell::ACTIVE_STOPPED, 8000);
        QCOMPARE(audio->ChannelGetPosition(handle), length);
        audio->Free();  // closes the recording

        // The whole song went out, no longer or shorter, at its own pitch.
        const DiskOutput played = DiskOutput::Read(recording);
        const double playedSeconds =
            static_cast<double>(played.SoundingFrames()) / DEVICE_RATE + silentSeconds;
        const double songSeconds = length / bytesPerSecond;
        QVERIFY2(
            std::abs(playedSeconds - songSeconds) < 0.002,
            qPrintable(QStringLiteral("played %1 s of %2 s").arg(playedSeconds).arg(songSeconds)));
        QVERIFY2(std::abs(played.Hertz() - hertz) < hertz * 0.01,
                 qPrintable(QStringLiteral("%1 Hz").arg(played.Hertz())));
    }
};

QTEST_GUILESS_MAIN(EngineOutputTest)
#include "engine_output_test.moc"
