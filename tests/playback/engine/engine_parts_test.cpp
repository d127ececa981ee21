#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "playback/engine/device_format.h"
#include "playback/engine/frame_ring.h"
#include "playback/engine/heard_history.h"
#include "playback/engine/spectrum_analyser.h"

using tunvell::FFT_MAGNITUDE_COUNT;
using tunvell::engine::DeviceFormat;
using tunvell::engine::FFT_SIZE;
using tunvell::engine::FrameRing;
using tunvell::engine::HeardHistory;
using tunvell::engine::SpectrumAnalyser;

namespace {

std::vector<float> Flatten(const FrameRing::Regions& regions) {
    std::vector<float> all(regions.first.begin(), regions.first.end());
    all.insert(all.end(), regions.second.begin(), regions.second.end());
    return all;
}

}  // namespace

class EnginePartsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Frames keep their order across the wrap and a full ring takes no more.
    void ringKeepsOrderAcrossTheWrap() {
        FrameRing ring(2, 4);
        const std::vector<float> first{1, -1, 2, -2, 3, -3};
        QCOMPARE(ring.Write(first), 3);
        ring.Drop(2);
        const std::vector<float> second{4, -4, 5, -5, 6, -6, 7, -7};
        QCOMPARE(ring.Write(second), 3);  // one frame was left in, so three fit
        QCOMPARE(ring.FreeFrames(), 0);
        const FrameRing::Regions regions = ring.Peek(10);
        QVERIFY(!regions.second.empty());  // the data does cross the end
        QCOMPARE(Flatten(regions), (std::vector<float>{3, -3, 4, -4, 5, -5, 6, -6}));
        ring.Drop(3);
        QCOMPARE(Flatten(ring.Peek(10)), (std::vector<float>{6, -6}));
        ring.Clear();
        QCOMPARE(ring.Size(), 0);
        QVERIFY(Flatten(ring.Peek(10)).empty());
    }

    void historySkipsTheNewestAndPadsTheStart() {
        HeardHistory history(8);
        for (int i = 1; i <= 5; ++i) {
            history.Push(static_cast<float>(i));
        }
        std::array<float, 4> window{};
        history.CopyEndingBefore(2, window);
        QCOMPARE(window, (std::array<float, 4>{0, 1, 2, 3}));
        for (int i = 6; i <= 12; ++i) {
            history.Push(static_cast<float>(i));
        }
        history.CopyEndingBefore(0, window);
        QCOMPARE(window, (std::array<float, 4>{9, 10, 11, 12}));
        history.PushSilence(100);  // more than it keeps
        history.CopyEndingBefore(1, window);
        QCOMPARE(window, (std::array<float, 4>{0, 0, 0, 0}));
    }

    // The device plays its newest buffer out in real time, and no further.
    void playedOutFollowsTheClock_data() {
        QTest::addColumn<qint64>("elapsedNs");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("just taken") << qint64{0} << qint64{0};
        QTest::newRow("a clock step backwards") << qint64{-5'000'000} << qint64{0};
        QTest::newRow("10 ms") << qint64{10'000'000} << qint64{441};
        QTest::newRow("just short of the buffer") << qint64{185'000'000} << qint64{8158};
        QTest::newRow("the whole buffer") << qint64{186'000'000} << qint64{8192};
        QTest::newRow("a pause of days") << qint64{400'000} * 1'000'000'000 << qint64{8192};
    }
    void playedOutFollowsTheClock() {
        QFETCH(qint64, elapsedNs);
        QFETCH(qint64, expected);
        const DeviceFormat device{44100, 2, 8192};
        QCOMPARE(tunvell::engine::FramesPlayedSince(std::chrono::nanoseconds(elapsedNs), device),
                 expected);
    }

    void analyserScale_data() {
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<int>("bin");
        QTest::addColumn<double>("expected");
        QTest::newRow("full-scale sine centred on bin 64") << 1.0 << 64 << 0.5;
        QTest::newRow("half-scale sine on bin 10") << 0.5 << 10 << 0.25;
        QTest::newRow("silence") << 0.0 << 100 << 0.0;
    }
    void analyserScale() {
        QFETCH(double, amplitude);
        QFETCH(int, bin);
        QFETCH(double, expected);
        std::array<float, FFT_SIZE> samples{};
        for (int n = 0; n < FFT_SIZE; ++n) {
            samples[static_cast<size_t>(n)] = static_cast<float>(
                amplitude * std::sin(2.0 * std::numbers::pi * bin * n / FFT_SIZE));
        }
        std::array<float, FFT_MAGNITUDE_COUNT> magnitudes{};
        SpectrumAnalyser analyser;
        QVERIFY(analyser.Analyse(samples, magnitudes));
        QVERIFY(std::abs(magnitudes[static_cast<size_t>(bin)] - expected) < 1e-4);
        // The Hann window keeps the energy within one bin either side.
        for (int k = 0; k < FFT_MAGNITUDE_COUNT; ++k) {
            if (std::abs(k - bin) > 1) {
                QVERIFY2(magnitudes[static_cast<size_t>(k)] < 1e-4, qPrintable(QString::number(k)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(EnginePartsTest)
#include "engine_parts_test.moc"
