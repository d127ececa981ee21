#include <QTest>

#include <QTemporaryDir>

#include <array>
#include <memory>
#include <vector>

#include "engine_test_support.h"
#include "playback/engine.h"

using tunvell::AudioOutput;
using tunvell::StreamHandle;
using tunvell::testing::AddFilesThatAreNoSong;
using tunvell::testing::FixturePath;
using tunvell::testing::ScopedEnv;
using tunvell::testing::SharedEngine;

namespace {

enum class Operation {
    StreamFree,
    ChannelPlay,
    ChannelPlayRestart,
    ChannelPause,
    ChannelStop,
    ChannelIsActive,
    ChannelGetLength,
    ChannelGetPosition,
    ChannelSetPosition,
    ChannelGetData,
};

// Runs the operation and says whether it gave its failure value.
bool Fails(AudioOutput& audio, Operation operation, StreamHandle handle) {
    std::array<float, tunvell::FFT_MAGNITUDE_COUNT> magnitudes{};
    switch (operation) {
        case Operation::StreamFree:
            return !audio.StreamFree(handle);
        case Operation::ChannelPlay:
            return !audio.ChannelPlay(handle, false);
        case Operation::ChannelPlayRestart:
            return !audio.ChannelPlay(handle, true);
        case Operation::ChannelPause:
            return !audio.ChannelPause(handle);
        case Operation::ChannelStop:
            return !audio.ChannelStop(handle);
        case Operation::ChannelIsActive:
            return audio.ChannelIsActive(handle) != tunvell::ACTIVE_PLAYING &&
                   audio.ChannelIsActive(handle) != tunvell::ACTIVE_PAUSED;
        case Operation::ChannelGetLength:
            return audio.ChannelGetLength(handle) == -1;
        case Operation::ChannelGetPosition:
            return audio.ChannelGetPosition(handle) == -1;
        case Operation::ChannelSetPosition:
            return !audio.ChannelSetPosition(handle, 176400);
        case Operation::ChannelGetData:
            return audio.ChannelGetData(handle, magnitudes) == -1;
    }
    return false;
}

const std::array<std::pair<const char*, Operation>, 10> OPERATIONS{{
    {"StreamFree", Operation::StreamFree},
    {"ChannelPlay", Operation::ChannelPlay},
    {"ChannelPlay restart", Operation::ChannelPlayRestart},
    {"ChannelPause", Operation::ChannelPause},
    {"ChannelStop", Operation::ChannelStop},
    {"ChannelIsActive", Operation::ChannelIsActive},
    {"ChannelGetLength", Operation::ChannelGetLength},
    {"ChannelGetPosition", Operation::ChannelGetPosition},
    {"ChannelSetPosition", Operation::ChannelSetPosition},
    {"ChannelGetData", Operation::ChannelGetData},
}};

enum class Stale { Zero, Freed, NeverIssued, AfterEngineFree };

}  // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Stale)

class EngineOpenTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(engine_.Init()); }
    void cleanup() { engine_.FreeOpened(); }
    void cleanupTestCase() { engine_.Release(); }

    void lengthOfEachFixture_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("length");
        QTest::newRow("tone 440") << "tone_440.mp3" << qint64{529200};
        QTest::newRow("tone 1000") << "tone_1000.mp3" << qint64{529200};
        QTest::newRow("tone 2500") << "tone_2500.mp3" << qint64{529200};
        QTest::newRow("22.05 kHz mono") << "mono_22050.mp3" << qint64{88200};
        QTest::newRow("8 kHz mono") << "mono_8000.mp3" << qint64{34560};
        QTest::newRow("48 kHz stereo") << "stereo_48000.mp3" << qint64{192000};
        QTest::newRow("VBR with Xing header") << "vbr_xing.mp3" << qint64{352800};
        QTest::newRow("VBR without header") << "vbr_no_xing.mp3" << qint64{359424};
        QTest::newRow("large ID3v2 tag") << "id3v2_large.mp3" << qint64{176400};
        QTest::newRow("cut mid-frame, up to the cut") << "truncated.mp3" << qint64{211968};
    }
    void lengthOfEachFixture() {
        QFETCH(QString, file);
        QFETCH(qint64, length);
        const StreamHandle handle = Create(FixturePath(file));
        QVERIFY(handle != 0);
        QCOMPARE(engine_->ChannelGetLength(handle), length);
        // A new stream stands at its start and does not play by itself.
        QCOMPARE(engine_->ChannelGetPosition(handle), qint64{0});
        QCOMPARE(engine_->ChannelIsActive(handle), tunvell::ACTIVE_STOPPED);
        QVERIFY(engine_->StreamFree(handle));
    }

    void badFileGivesHandleZero_data() {
        QTest::addColumn<QString>("path");
        AddFilesThatAreNoSong();
    }
    void badFileGivesHandleZero() {
        QFETCH(QString, path);
        QCOMPARE(Create(path), StreamHandle{0});
        // The engine is not disturbed by the failure.
        const StreamHandle good = Create(FixturePath(QStringLiteral("tone_440.mp3")));
        QVERIFY(good != 0);
    }

    void chineseNameWithSpacesOpens() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("我的 音乐")));
        const QString path = dir.filePath(QStringLiteral("我的 音乐/测试 歌曲 (一).mp3"));
        QVERIFY(QFile::copy(FixturePath(QStringLiteral("tone_440.mp3")), path));
        const StreamHandle handle = Create(path);
        QVERIFY(handle != 0);
        QCOMPARE(engine_->ChannelGetLength(handle), tunvell::testing::TONE_LENGTH_BYTES);
    }

    void handlesAreNeverReused() {
        const QString song = FixturePath(QStringLiteral("tone_440.mp3"));
        const StreamHandle first = Create(song);
        QVERIFY(engine_->StreamFree(first));
        const StreamHandle second = Create(song);
        QVERIFY(second != 0 && second != first);
        engine_->Free();
        QVERIFY(engine_->Init());
        const StreamHandle third = Create(song);
        QVERIFY(third != 0 && third != first && third != second);
    }

    // Every operation on 0, a freed handle, one never given out, or one that
    // lived before the engine was freed does nothing and gives its failure
    // value; a live stream beside it is left alone.
    void staleHandleFails_data() {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Stale>("stale");
        const std::array<std::pair<const char*, Stale>, 4> kinds{{
            {"0", Stale::Zero},
            {"freed", Stale::Freed},
            {"never issued", Stale::NeverIssued},
            {"after engine Free", Stale::AfterEngineFree},
        }};
        for (const auto& [operationName, operation] : OPERATIONS) {
            for (const auto& [kindName, kind] : kinds) {
                QTest::addRow("%s on %s", operationName, kindName) << operation << kind;
            }
        }
    }
    void staleHandleFails() {
        QFETCH(Operation, operation);
        QFETCH(Stale, stale);
        const QString song = FixturePath(QStringLiteral("tone_440.mp3"));
        StreamHandle handle = 0;
        if (stale == Stale::Freed) {
            handle = Create(song);
            QVERIFY(engine_->StreamFree(handle));
        } else if (stale == Stale::NeverIssued) {
            handle = 0x7fff1234;
        } else if (stale == Stale::AfterEngineFree) {
            handle = Create(song);
            engine_->Free();
            QVERIFY(engine_->Init());
        }
        const StreamHandle live = Create(song);
        QVERIFY(live != 0);

        QVERIFY(Fails(*engine_, operation, handle));
        QVERIFY(Fails(*engine_, operation, handle));  // and again, just as quietly

        QCOMPARE(engine_->ChannelIsActive(live), tunvell::ACTIVE_STOPPED);
        QCOMPARE(engine_->ChannelGetPosition(live), qint64{0});
        QVERIFY(engine_->ChannelPlay(live, false));
        QCOMPARE(engine_->ChannelIsActive(live), tunvell::ACTIVE_PLAYING);
    }

    // Without an output device nothing opens and nothing breaks.
    void noDeviceOpensNothing() {
        engine_.Release();  // SDL keeps its driver while any engine has a device open
        const ScopedEnv driver("SDL_AUDIODRIVER", "nonexistent");
        const auto audio = tunvell::MakeAudioEngine();
        QVERIFY(!audio->Init());
        const StreamHandle handle =
            audio->StreamCreateFile(FixturePath(QStringLiteral("tone_440.mp3")));
        QCOMPARE(handle, StreamHandle{0});
        for (const auto& [name, operation] : OPERATIONS) {
            QVERIFY2(Fails(*audio, operation, handle), name);
        }
        audio->Free();
        audio->Free();
    }

    void operationsBeforeInitFail() {
        const auto audio = tunvell::MakeAudioEngine();
        QCOMPARE(audio->StreamCreateFile(FixturePath(QStringLiteral("tone_440.mp3"))),
                 StreamHandle{0});
        audio->Free();
    }

private:
    StreamHandle Create(const QString& path) { return engine_.Create(path); }

    SharedEngine engine_;
};

QTEST_GUILESS_MAIN(EngineOpenTest)
#include "engine_open_test.moc"
