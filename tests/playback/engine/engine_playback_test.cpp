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
using tunvell::testing::AddFilesThatAreNoSong;
using tunvell::testing::CD_BYTES_PER_SECOND;
using tunvell::testing::FixturePath;
using tunvell::testing::SharedEngine;
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
    void init() { QVERIFY(engine_.Init()); }
    void cleanup() { engine_.FreeOpened(); }
    void cleanupTestCase() { engine_.Release(); }

    void playPauseResumeStop() {
        const StreamHandle handle = Open("tone_440.mp3");
        QVERIFY(engine_->ChannelPlay(handle, false));
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PLAYING);
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 0);

        QVERIFY(engine_->ChannelPause(handle));
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PAUSED);
        const qint64 paused = engine_->ChannelGetPosition(handle);
        QTest::qWait(200);
        QCOMPARE(engine_->ChannelGetPosition(handle), paused);

        // Resuming goes on where the pause left off, not from the start.
        QVERIFY(engine_->ChannelPlay(handle, false));
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PLAYING);
        QCOMPARE(engine_->ChannelGetPosition(handle), paused);
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > paused);

        QVERIFY(engine_->ChannelStop(handle));
        const int stopped = engine_->ChannelIsActive(handle);
        QVERIFY(stopped != ACTIVE_PLAYING && stopped != ACTIVE_PAUSED);
        const qint64 stoppedAt = engine_->ChannelGetPosition(handle);
        QTest::qWait(200);
        QCOMPARE(engine_->ChannelGetPosition(handle), stoppedAt);

        // Restart goes back to the beginning.
        QVERIFY(engine_->ChannelPlay(handle, true));
        QVERIFY(engine_->ChannelGetPosition(handle) < stoppedAt);
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PLAYING);
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
        QVERIFY(engine_->ChannelPlay(handle, false));
        qint64 previous = 0;
        int rises = 0;
        QElapsedTimer watch;
        watch.start();
        while (watch.elapsed() < 1000) {
            QTest::qWait(7);
            const qint64 position = engine_->ChannelGetPosition(handle);
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
        QVERIFY(engine_->ChannelSetPosition(handle, 2 * CD_BYTES_PER_SECOND + 3));
        QCOMPARE(engine_->ChannelGetPosition(handle), 2 * CD_BYTES_PER_SECOND);
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 2 * CD_BYTES_PER_SECOND);

        // While playing it starts again from the target, backwards too.
        QVERIFY(engine_->ChannelSetPosition(handle, CD_BYTES_PER_SECOND / 2));
        const qint64 afterSeek = engine_->ChannelGetPosition(handle);
        QVERIFY(afterSeek >= CD_BYTES_PER_SECOND / 2);
        QVERIFY(afterSeek < CD_BYTES_PER_SECOND);
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PLAYING);

        QVERIFY(!engine_->ChannelSetPosition(handle, -4));
        QVERIFY(engine_->ChannelGetPosition(handle) >= afterSeek);
    }

    void pausedSeekResumesFromTheNewPlace() {
        const StreamHandle handle = Open("tone_1000.mp3");
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 0);
        QVERIFY(engine_->ChannelPause(handle));
        QVERIFY(engine_->ChannelSetPosition(handle, 2 * CD_BYTES_PER_SECOND));
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_PAUSED);
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 2 * CD_BYTES_PER_SECOND);
    }

    void endOfFileReportsNotPlaying_data() {
        QTest::addColumn<qint64>("seekTo");
        QTest::newRow("the last quarter second") << TONE_LENGTH_BYTES - CD_BYTES_PER_SECOND / 4;
        QTest::newRow("past the end") << TONE_LENGTH_BYTES + 1000;
    }
    void endOfFileReportsNotPlaying() {
        QFETCH(qint64, seekTo);
        const StreamHandle handle = Open("tone_2500.mp3");
        QVERIFY(engine_->ChannelSetPosition(handle, seekTo));
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_COMPARE_WITH_TIMEOUT(engine_->ChannelIsActive(handle), ACTIVE_STOPPED, 5000);
        QCOMPARE(engine_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
        QTest::qWait(100);
        QCOMPARE(engine_->ChannelIsActive(handle), ACTIVE_STOPPED);
        QCOMPARE(engine_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
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
        QCOMPARE(engine_->ChannelGetData(handle, magnitudes), -1);  // nothing heard yet
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > engine_->ChannelGetLength(handle) / 4);
        QVERIFY(engine_->ChannelGetData(handle, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(hertz));
        // The fixtures are sines at half scale: about a quarter in the bin.
        const float peak = magnitudes[static_cast<size_t>(ToneBin(hertz))];
        QVERIFY2(peak > 0.15f && peak < 0.3f, qPrintable(QString::number(peak)));
    }

    // Streams are mixed, each analysed on its own; freeing one leaves the other.
    void severalStreamsAtOnce() {
        const StreamHandle low = Open("tone_440.mp3");
        const StreamHandle high = Open("tone_2500.mp3");
        QVERIFY(engine_->ChannelPlay(low, false));
        QVERIFY(engine_->ChannelPlay(high, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(low) > CD_BYTES_PER_SECOND / 4);
        QTRY_VERIFY(engine_->ChannelGetPosition(high) > CD_BYTES_PER_SECOND / 4);
        Magnitudes magnitudes{};
        QVERIFY(engine_->ChannelGetData(low, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(440));
        QVERIFY(engine_->ChannelGetData(high, magnitudes) != -1);
        QCOMPARE(PeakBin(magnitudes), ToneBin(2500));

        QVERIFY(engine_->StreamFree(low));
        const qint64 before = engine_->ChannelGetPosition(high);
        QTRY_VERIFY(engine_->ChannelGetPosition(high) > before);
        QCOMPARE(engine_->ChannelIsActive(high), ACTIVE_PLAYING);
    }

    // The open file outlives its name: the song plays on to its end.
    void fileDeletedWhilePlaying() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(QFile::copy(FixturePath(QStringLiteral("tone_440.mp3")), path));
        const StreamHandle handle = Create(path);
        QVERIFY(handle != 0);
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 0);
        QVERIFY(QFile::remove(path));
        QVERIFY(engine_->ChannelSetPosition(handle, TONE_LENGTH_BYTES - CD_BYTES_PER_SECOND / 4));
        QTRY_COMPARE_WITH_TIMEOUT(engine_->ChannelIsActive(handle), ACTIVE_STOPPED, 5000);
        QCOMPARE(engine_->ChannelGetPosition(handle), TONE_LENGTH_BYTES);
    }

    // A file cut short under the player ends the stream where its data ends.
    // The song is long enough that the cut lies beyond what was read ahead.
    void fileTruncatedWhilePlaying() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("song.mp3"));
        QVERIFY(WriteLongSong(path, 6));  // 6 x 116 MPEG frames, 18.2 s, 291 KB
        const StreamHandle handle = Create(path);
        QVERIFY(handle != 0);
        QCOMPARE(engine_->ChannelGetLength(handle), qint64{6 * 116 * 1152 * 4});
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_VERIFY(engine_->ChannelGetPosition(handle) > 0);

        QVERIFY(QFile::resize(path, 100000));  // about 6.2 s of audio left
        QVERIFY(engine_->ChannelSetPosition(handle, 5 * CD_BYTES_PER_SECOND));
        QTRY_COMPARE_WITH_TIMEOUT(engine_->ChannelIsActive(handle), ACTIVE_STOPPED, 6000);
        const qint64 end = engine_->ChannelGetPosition(handle);
        QVERIFY2(end > 5 * CD_BYTES_PER_SECOND && end < 7 * CD_BYTES_PER_SECOND,
                 qPrintable(QString::number(end)));

        // Seeking into the part that is gone ends again instead of hanging.
        engine_->ChannelSetPosition(handle, 12 * CD_BYTES_PER_SECOND);
        QVERIFY(engine_->ChannelPlay(handle, false));
        QTRY_COMPARE_WITH_TIMEOUT(engine_->ChannelIsActive(handle), ACTIVE_STOPPED, 6000);
        QVERIFY(engine_->StreamFree(handle));
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

    StreamHandle Create(const QString& path) { return engine_.Create(path); }

    SharedEngine engine_;
};

QTEST_GUILESS_MAIN(EnginePlaybackTest)
#include "engine_playback_test.moc"
