#include <QTest>

#include <sys/stat.h>

#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include "engine_test_support.h"
#include "playback/engine/mpg123_decoder.h"

using tunvell::engine::Mpg123Decoder;
using tunvell::testing::AddFilesThatAreNoSong;
using tunvell::testing::FixturePath;

namespace {

// Everything the decoder gives from where it stands to the end.
std::vector<std::int16_t> DecodeToEnd(Mpg123Decoder& decoder) {
    std::vector<std::int16_t> all;
    std::vector<std::int16_t> buffer(4096 * static_cast<size_t>(decoder.Channels()));
    for (;;) {
        const Mpg123Decoder::ReadResult result = decoder.Read(buffer);
        all.insert(all.end(), buffer.begin(), buffer.begin() + result.frames * decoder.Channels());
        if (result.end) {
            return all;
        }
    }
}

}  // namespace

class EngineDecoderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every format MPEG audio allows that we ship, with the exact frame count:
    // LAME's gapless header where there is one, whole MPEG frames otherwise.
    void formatAndExactLength_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<qint64>("frames");
        QTest::newRow("CBR 44.1 kHz stereo, ID3v1")
            << "tone_440.mp3" << 44100 << 2 << qint64{132300};
        QTest::newRow("22.05 kHz mono") << "mono_22050.mp3" << 22050 << 1 << qint64{44100};
        QTest::newRow("8 kHz mono, no room for a header")
            << "mono_8000.mp3" << 8000 << 1 << qint64{30 * 576};
        QTest::newRow("48 kHz stereo") << "stereo_48000.mp3" << 48000 << 2 << qint64{48000};
        QTest::newRow("VBR with Xing header") << "vbr_xing.mp3" << 44100 << 2 << qint64{88200};
        QTest::newRow("VBR without header") << "vbr_no_xing.mp3" << 44100 << 2 << qint64{78 * 1152};
        QTest::newRow("large ID3v2 with picture")
            << "id3v2_large.mp3" << 44100 << 2 << qint64{44100};
        QTest::newRow("cut mid-frame") << "truncated.mp3" << 44100 << 2 << qint64{46 * 1152};
    }
    void formatAndExactLength() {
        QFETCH(QString, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(qint64, frames);
        const auto decoder = Mpg123Decoder::Open(FixturePath(file));
        QVERIFY(decoder);
        QCOMPARE(decoder->Rate(), rate);
        QCOMPARE(decoder->Channels(), channels);
        QCOMPARE(decoder->LengthFrames(), frames);
        // The length promised is what decoding delivers, up to a clean end.
        QCOMPARE(static_cast<qint64>(DecodeToEnd(*decoder).size()), frames * channels);
    }

    void seekIsSampleAccurate_data() {
        QTest::addColumn<qint64>("frame");
        QTest::newRow("start") << qint64{0};
        QTest::newRow("inside the first MPEG frame") << qint64{1};
        QTest::newRow("last sample of an MPEG frame") << qint64{1151};
        QTest::newRow("MPEG frame boundary") << qint64{1152};
        QTest::newRow("one second") << qint64{44100};
        QTest::newRow("odd place") << qint64{100003};
        QTest::newRow("near the end") << qint64{132300 - 10};
    }
    void seekIsSampleAccurate() {
        QFETCH(qint64, frame);
        const auto reference = Mpg123Decoder::Open(FixturePath(QStringLiteral("tone_1000.mp3")));
        QVERIFY(reference);
        const std::vector<std::int16_t> straight = DecodeToEnd(*reference);

        const auto decoder = Mpg123Decoder::Open(FixturePath(QStringLiteral("tone_1000.mp3")));
        QVERIFY(decoder);
        DecodeToEnd(*decoder);  // seek backwards from the end, the harder way
        QVERIFY(decoder->SeekFrame(frame));
        const std::vector<std::int16_t> after = DecodeToEnd(*decoder);
        QCOMPARE(after.size(), straight.size() - static_cast<size_t>(frame) * 2);
        QVERIFY(std::equal(after.begin(), after.end(), straight.begin() + frame * 2));
    }

    void refusesWhatIsNoSong_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("empty path") << QString();
        AddFilesThatAreNoSong();
    }
    void refusesWhatIsNoSong() {
        QFETCH(QString, path);
        QVERIFY(!Mpg123Decoder::Open(path));
    }

    // A FIFO has no end and no writer: opening it must neither block nor play.
    void refusesFifoWithoutWaiting() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.mp3"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!Mpg123Decoder::Open(fifo));
    }

    void refusesUnreadableFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.mp3"));
        QVERIFY(QFile::copy(FixturePath(QStringLiteral("tone_440.mp3")), path));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly)) {
            QSKIP("this user reads files without read permission (root)");
        }
        QVERIFY(!Mpg123Decoder::Open(path));
    }
};

QTEST_GUILESS_MAIN(EngineDecoderTest)
#include "engine_decoder_test.moc"
