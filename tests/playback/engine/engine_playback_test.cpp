#include <QTest>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "engine_test_support.h"
#include "playback/engine.h"

using tunvell::ACTIVE_PAUSED;
using tunvell::ACTIVE_PLAYING;
using tunvell::ACTIVE_STOPPED;
using tunvell::AudioOutput;
using tunvell::StreamHandle;
using tunvell::testing::CD_BYTES_PER_SECOND;
using tunvell::testing::FixturePath;
using tunvell::testing::TONE_LENGTH_BYTES;

namespace {

using Magnitudes = std::array<float, tunvell::FFT_MAGNITUDE_COUNT>;

int PeakBin(const Magnitudes& magnitudes) {
    return static_cast<int>(std::max_element(magnitudes.begin(), magnitudes.end()) -
                            magnitudes.begin());
}

// The bin of a 1024-point FFT at 44.1 kHz nearest to the frequency.
int ToneBin(double hertz) {
    return qRound(hertz * 1024 / 44100);
}

}  // namespace

class EnginePlaybackTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // One engine for the run where possible: closing a device waits for SDL
    // to drain it, which would cost a third of a second per test.
    void init() {
        if (!audio_) {
            audio_ = tunvell::MakeAudioEngine();
        }
        QVERIFY(audio_->Init());
    }
    void cleanupTestCase() { audio_.reset(); }
    void cleanup() {
        for (const StreamHandle handle : opened_) {
            audio_->StreamFree(handle);
        }
        opened_.clear();
    }

    void playPauseResumeStop() {
        const StreamHandle handle = Open("tone_440.mp3");
        QVERIFY(audio_->ChannelPlay(handle, false));
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PLAYING);
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 0);

        QVERIFY(audio_->ChannelPause(handle));
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PAUSED);
        const qint64 paused = audio_->ChannelGetPosition(handle);
        QTest::qWait(200);
        QCOMPARE(audio_->ChannelGetPosition(handle), paused);

        // Resuming goes on where the pause left off, not from the start.
        QVERIFY(audio_->ChannelPlay(handle, false));
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PLAYING);
        QCOMPARE(audio_->ChannelGetPosition(handle), paused);
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > paused);

        QVERIFY(audio_->ChannelStop(handle));
        const int stopped = audio_->ChannelIsActive(handle);
        QVERIFY(stopped != ACTIVE_PLAYING && stopped != ACTIVE_PAUSED);
        const qint64 stoppedAt = audio_->ChannelGetPosition(handle);
        QTest::qWait(200);
        QCOMPARE(audio_->ChannelGetPosition(handle), stoppedAt);

        // Restart goes back to the beginning.
        QVERIFY(audio_->ChannelPlay(handle, true));
        QVERIFY(audio_->ChannelGetPosition(handle) < stoppedAt);
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PLAYING);
    }

    void positionIsMonotonicInWholeFrames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("bytesPerFrame");
        QTest::newRow("44.1 kHz stereo") << "tone_440.mp3" << 4;
        QTest::newRow("22.05 kHz mono") << "mono_22050.mp3" << 2;
    }
    void positionIsMonotonicInWholeFrames() {
        QFETCH(QString, file);
        QFETCH(int, bytesPerFrame);
        const StreamHandle handle = Open(file);
        QVERIFY(audio_->ChannelPlay(handle, false));
        qint64 previous = 0;
        int rises = 0;
        QElapsedTimer watch;
        watch.start();
        while (watch.elapsed() < 1000) {
            QTest::qWait(7);
            const qint64 position = audio_->ChannelGetPosition(handle);
            QVERIFY2(position >= previous,
                     qPrintable(QStringLiteral("%1 after %2").arg(position).arg(previous)));
            QCOMPARE(position % bytesPerFrame, 0);
            rises += position > previous ? 1 : 0;
            previous = position;
        }
        QVERIFY(rises >= 3);  // it moves in many small steps, not one jump
    }

    void seekThenPosition() {
        const StreamHandle handle = Open("tone_1000.mp3");
        // Paused or not yet playing: the position is the target, in whole frames.
        QVERIFY(audio_->ChannelSetPosition(handle, 2 * CD_BYTES_PER_SECOND + 3));
        QCOMPARE(audio_->ChannelGetPosition(handle), 2 * CD_BYTES_PER_SECOND);
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 2 * CD_BYTES_PER_SECOND);

        // While playing it starts again from the target, backwards too.
        QVERIFY(audio_->ChannelSetPosition(handle, CD_BYTES_PER_SECOND / 2));
        const qint64 afterSeek = audio_->ChannelGetPosition(handle);
        QVERIFY(afterSeek >= CD_BYTES_PER_SECOND / 2);
        QVERIFY(afterSeek < CD_BYTES_PER_SECOND);
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PLAYING);

        QVERIFY(!audio_->ChannelSetPosition(handle, -4));
        QVERIFY(audio_->ChannelGetPosition(handle) >= afterSeek);
    }

    void pausedSeekResumesFromTheNewPlace() {
        const StreamHandle handle = Open("tone_1000.mp3");
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 0);
        QVERIFY(audio_->ChannelPause(handle));
        QVERIFY(audio_->ChannelSetPosition(handle, 2 * CD_BYTES_PER_SECOND));
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_PAUSED);
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 2 * CD_BYTES_PER_SECOND);
    }

    void endOfFileReportsNotPlaying_data() {
        QTest::addColumn<qint64>("seekTo");
        QTest::newRow("the last quarter second") << TONE_LENGTH_BYTES - CD_BYTES_PER_SECOND / 4;
        QTest::newRow("past the end") << TONE_LENGTH_BYTES + 1000;
    }
    void endOfFileReportsNotPlaying() {
        QFETCH(qint64, seekTo);
        const StreamHandle handle = Open("tone_2500.mp3");
        QVERIFY(audio_->ChannelSetPosition(handle, seekTo));
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_COMPARE_WITH_TIMEOUT(audio_->ChannelIsActive(handle), ACTIVE_STOPPED, 5000);
        QCOMPARE(audio_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
        QTest::qWait(100);
        QCOMPARE(audio_->ChannelIsActive(handle), ACTIVE_STOPPED);
        QCOMPARE(audio_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
    }

    void fftPeakInTheToneBin_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("hertz");
        QTest::newRow("440 Hz") << "tone_440.mp3" << 440.0;
        QTest::newRow("1000 Hz") << "tone_1000.mp3" << 1000.0;
        QTest::newRow("2500 Hz") << "tone_2500.mp3" << 2500.0;
        QTest::newRow("2500 Hz at 48 kHz") << "stereo_48000.mp3" << 2500.0;
        QTest::newRow("440 Hz mono at 22.05 kHz") << "mono_22050.mp3" << 440.0;
    }
    void fftPeakInTheToneBin() {
        QFETCH(QString, file);
        QFETCH(double, hertz);
        const StreamHandle handle = Open(file);
        Magnitudes magnitudes{};
        QCOMPARE(audio_->ChannelGetData(handle, magnitudes), -1);  // nothing heard yet
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > audio_->ChannelGetLength(handle) / 4);
        QVERIFY(audio_->ChannelGetData(handle, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(hertz));
        // The fixtures are sines at half scale: about a quarter in the bin.
        const float peak = magnitudes[static_cast<size_t>(ToneBin(hertz))];
        QVERIFY2(peak > 0.15f && peak < 0.3f, qPrintable(QString::number(peak)));
    }

    // Streams are mixed, each analysed on its own; freeing one leaves the other.
    void severalStreamsAtOnce() {
        const StreamHandle low = Open("tone_440.mp3");
        const StreamHandle high = Open("tone_2500.mp3");
        QVERIFY(audio_->ChannelPlay(low, false));
        QVERIFY(audio_->ChannelPlay(high, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(low) > CD_BYTES_PER_SECOND / 4);
        QTRY_VERIFY(audio_->ChannelGetPosition(high) > CD_BYTES_PER_SECOND / 4);
        Magnitudes magnitudes{};
        QVERIFY(audio_->ChannelGetData(low, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(440));
        QVERIFY(audio_->ChannelGetData(high, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(2500));

        QVERIFY(audio_->StreamFree(low));
        const qint64 before = audio_->ChannelGetPosition(high);
        QTRY_VERIFY(audio_->ChannelGetPosition(high) > before);
        QCOMPARE(audio_->ChannelIsActive(high), ACTIVE_PLAYING);
    }

    // The open file outlives its name: the song plays on to its end.
    void fileDeletedWhilePlaying() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(QFile::copy(FixturePath(QStringLiteral("tone_440.mp3")), path));
        const StreamHandle handle = Create(path);
        QVERIFY(handle != 0);
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 0);
        QVERIFY(QFile::remove(path));
        QVERIFY(audio_->ChannelSetPosition(handle, TONE_LENGTH_BYTES - CD_BYTES_PER_SECOND / 4));
        QTRY_COMPARE_WITH_TIMEOUT(audio_->ChannelIsActive(handle), ACTIVE_STOPPED, 5000);
        QCOMPARE(audio_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
    }

    // A file cut short under the player ends the stream where its data ends.
    // The song is long enough that the cut lies beyond what was read ahead.
    void fileTruncatedWhilePlaying() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(WriteLongSong(path, 6));  // 6 x 116 MPEG frames, 18.2 s, 291 KB
        const StreamHandle handle = Create(path);
        QVERIFY(handle != 0);
        QCOMPARE(audio_->ChannelGetLength(handle), qint64{6 * 116 * 1152 * 4});
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_VERIFY(audio_->ChannelGetPosition(handle) > 0);

        QVERIFY(QFile::resize(path, 100000));  // about 6.2 s of audio left
        QVERIFY(audio_->ChannelSetPosition(handle, 5 * CD_BYTES_PER_SECOND));
        QTRY_COMPARE_WITH_TIMEOUT(audio_->ChannelIsActive(handle), ACTIVE_STOPPED, 6000);
        const qint64 end = audio_->ChannelGetPosition(handle);
        QVERIFY2(end > 5 * CD_BYTES_PER_SECOND && end < 7 * CD_BYTES_PER_SECOND,
                 qPrintable(QString::number(end)));

        // Seeking into the part that is gone ends again instead of hanging.
        audio_->ChannelSetPosition(handle, 12 * CD_BYTES_PER_SECOND);
        QVERIFY(audio_->ChannelPlay(handle, false));
        QTRY_COMPARE_WITH_TIMEOUT(audio_->ChannelIsActive(handle), ACTIVE_STOPPED, 6000);
        QVERIFY(audio_->StreamFree(handle));
    }

private:
    StreamHandle Open(const QString& file) {
        const StreamHandle handle = Create(FixturePath(file));
        if (handle == 0) {
            qWarning("cannot open fixture %s", qPrintable(file));
        }
        return handle;
    }
    StreamHandle Open(const char* file) { return Open(QString::fromUtf8(file)); }

    // The MPEG frames of tone_440 (without its header frame and ID3v1 tag)
    // repeated: a valid CBR file `times` as long, with no header frame.
    static bool WriteLongSong(const QString& path, int times) {
        QFile source(FixturePath(QStringLiteral("tone_440.mp3")));
        QFile target(path);
        if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly)) {
            return false;
        }
        constexpr int HEADER_FRAME_BYTES = 417;
        constexpr int ID3V1_BYTES = 128;
        const QByteArray all = source.readAll();
        const QByteArray frames =
            all.mid(HEADER_FRAME_BYTES, all.size() - HEADER_FRAME_BYTES - ID3V1_BYTES);
        for (int i = 0; i < times; ++i) {
            target.write(frames);
        }
        return target.flush();
    }

    // Streams opened by a test are freed after it.
    StreamHandle Create(const QString& path) {
        const StreamHandle handle = audio_->StreamCreateFile(path);
        if (handle != 0) {
            opened_.push_back(handle);
        }
        return handle;
    }

    std::unique_ptr<AudioOutput> audio_;
    std::vector<StreamHandle> opened_;
};

QTEST_GUILESS_MAIN(EnginePlaybackTest)
#include "engine_playback_test.moc"
