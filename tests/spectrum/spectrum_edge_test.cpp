// The ticks that must draw nothing or keep their memory: no stream, a failed
// read, absent arrays, odd widths, bins past the gain's zero, and the levels
// and caps that carry over a pause or a change of song.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <functional>

#include <QtTest>

#include "tests/spectrum/spectrum_rig.h"

namespace tunvell::testing {

using RigAction = std::function<void(SpectrumRig&)>;

}  // namespace tunvell::testing

Q_DECLARE_METATYPE(tunvell::testing::RigAction)

namespace tunvell::testing {

class SpectrumEdgeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ticksThatOnlyClear_data();
    void ticksThatOnlyClear();
    void tickWithoutArraysOnlyClears();
    void highBinsNeverRise_data();
    void highBinsNeverRise();
    void widthsWithoutVisibleBars_data();
    void widthsWithoutVisibleBars();
    void levelsAndCapsCarryOver_data();
    void levelsAndCapsCarryOver();
    void atRestTheCanvasLooksEmpty();
    void ticksReuseTheImage();
};

void SpectrumEdgeTest::ticksThatOnlyClear_data() {
    QTest::addColumn<RigAction>("before");
    QTest::newRow("no stream") << RigAction([](SpectrumRig& rig) { rig.state.currentStream = 0; });
    QTest::newRow("read fails") << RigAction(
        [](SpectrumRig& rig) { rig.audio.SetFft(std::nullopt); });
    QTest::newRow("stream freed") << RigAction(
        [](SpectrumRig& rig) { rig.audio.StreamFree(rig.state.currentStream); });
}

void SpectrumEdgeTest::ticksThatOnlyClear() {
    QFETCH(RigAction, before);
    SpectrumRig rig;
    rig.Tick(LoudBins());
    QVERIFY(rig.canvas.Interior() != ExpectedFrame({}));
    const SpectrumBuffers kept = rig.Buffers();

    before(rig);
    rig.Tick();
    rig.Tick();

    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({})), QString());
    QVERIFY(rig.Buffers().binCopy == kept.binCopy);
    QVERIFY(rig.Buffers().levels == kept.levels);
    QVERIFY(rig.Buffers().caps == kept.caps);
}

void SpectrumEdgeTest::tickWithoutArraysOnlyClears() {
    SpectrumRig rig;
    rig.Tick(LoudBins());
    ReleaseGlobals(rig.state);
    rig.Tick(LoudBins());
    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({})), QString());
}

void SpectrumEdgeTest::highBinsNeverRise_data() {
    QTest::addColumn<float>("magnitude");
    QTest::newRow("full scale") << 1.0f;
    QTest::newRow("huge") << 1e30f;
    QTest::newRow("largest float") << FLT_MAX;
}

void SpectrumEdgeTest::highBinsNeverRise() {
    QFETCH(float, magnitude);
    SpectrumRig rig;
    Bins everyBin;
    for (int k = 0; k < FFT_MAGNITUDE_COUNT; ++k) {
        everyBin.insert(k, magnitude);
    }
    for (int tick = 0; tick < 3; ++tick) {
        rig.Tick(everyBin);
    }
    const auto& levels = rig.Buffers().levels;
    // i = 203 (bin 202) still has the gain 20; from i = 204 on it is 0 or less.
    QVERIFY(levels[202] > 0.0f);
    const auto risen =
        std::find_if(levels.begin() + 203, levels.end(), [](float level) { return level != 0.0f; });
    QVERIFY2(risen == levels.end(),
             qPrintable(QStringLiteral("bin %1 rose").arg(risen - levels.begin())));
    // The last magnitude is read but takes no part.
    QCOMPARE(rig.Buffers().binCopy[511], 0.0f);
}

void SpectrumEdgeTest::widthsWithoutVisibleBars_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("capOfBin7");
    QTest::addColumn<int>("capRowAtWidth7");

    // Every bin its own bar of no width and a cap of no length; the caps still
    // follow the levels, so bin 7 brings its cap of 45 to the first width-7 bar.
    QTest::newRow("0") << 0 << 45 << 0;
    // No i from 1 to 511 ends a bar; the width-7 bar finds an unused cap and
    // raises it to its average of 42.
    QTest::newRow("511") << 511 << 0 << 2;
    QTest::newRow("largest") << INT_MAX << 0 << 2;
    // Below 0 no bars are formed at all: -1 would divide by zero.
    QTest::newRow("-1") << -1 << 0 << 2;
    QTest::newRow("-2") << -2 << 0 << 2;
    QTest::newRow("smallest") << INT_MIN << 0 << 2;
}

void SpectrumEdgeTest::widthsWithoutVisibleBars() {
    QFETCH(int, width);
    QFETCH(int, capOfBin7);
    QFETCH(int, capRowAtWidth7);
    SpectrumRig rig;
    rig.state.spectrumBarWidth = width;
    rig.Tick(LoudBins());
    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({})), QString());
    QCOMPARE(rig.Buffers().levels[7], 45.0f);
    QCOMPARE(rig.Buffers().caps[7], capOfBin7);

    // The levels went on moving, so a usable width draws from them at once:
    // eight levels of 42, top row 3.
    rig.state.spectrumBarWidth = 7;
    rig.Tick(Bins{});
    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({{0, 7, 3, capRowAtWidth7}})),
             QString());
}

void SpectrumEdgeTest::levelsAndCapsCarryOver_data() {
    QTest::addColumn<RigAction>("between");
    QTest::newRow("nothing") << RigAction([](SpectrumRig&) {});
    QTest::newRow("pause and resume") << RigAction([](SpectrumRig& rig) {
        rig.audio.ChannelPause(rig.state.currentStream);
        rig.audio.ChannelPlay(rig.state.currentStream, false);
    });
    QTest::newRow("stop and play again") << RigAction([](SpectrumRig& rig) {
        rig.audio.ChannelStop(rig.state.currentStream);
        rig.audio.ChannelPlay(rig.state.currentStream, true);
    });
    QTest::newRow("change of song") << RigAction([](SpectrumRig& rig) {
        rig.audio.StreamFree(rig.state.currentStream);
        rig.state.currentStream = rig.PlayNewSong(QStringLiteral("/music/second.mp3"));
    });
    QTest::newRow("ticks on a freed stream, then a new song") << RigAction([](SpectrumRig& rig) {
        rig.audio.StreamFree(rig.state.currentStream);
        rig.Tick();
        rig.Tick();
        rig.state.currentStream = rig.PlayNewSong(QStringLiteral("/music/second.mp3"));
    });
}

void SpectrumEdgeTest::levelsAndCapsCarryOver() {
    QFETCH(RigAction, between);
    SpectrumRig rig;
    rig.Tick(LoudBins());  // the first bar full: top row 0, cap 45
    between(rig);
    rig.Tick(Bins{});
    // Continued, not restarted: levels 42 (top row 3), cap 44 (row 0).
    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({{0, 7, 3, 0}})), QString());
}

void SpectrumEdgeTest::atRestTheCanvasLooksEmpty() {
    SpectrumRig rig;
    rig.Tick(LoudBins(0, 200));
    // A cap of 45 needs 44 ticks to sink to 1; the levels are down after 15.
    for (int tick = 0; tick < 44; ++tick) {
        rig.Tick(Bins{});
    }
    QCOMPARE(DescribeDifference(rig.canvas.Interior(), ExpectedFrame({})), QString());
    for (int k = 0; k < 511; ++k) {
        const float level = rig.Buffers().levels[k];
        QVERIFY2(level > -1.0f && level <= 2.0f, qPrintable(QString::number(k)));
    }
    for (int k = 7; k < 511; k += 8) {
        QCOMPARE(rig.Buffers().caps[k], 1);
    }
}

void SpectrumEdgeTest::ticksReuseTheImage() {
    SpectrumRig rig;
    rig.Tick(Bins{});
    QCOMPARE(rig.canvas.Interior().size(), QSize(INTERIOR_WIDTH, INTERIOR_HEIGHT));
    const uchar* pixels = rig.canvas.Interior().constBits();
    rig.Tick(LoudBins());
    rig.state.spectrumBarWidth = 1;
    rig.Tick(Bins{});
    rig.audio.SetFft(std::nullopt);
    rig.Tick();
    QCOMPARE(rig.canvas.Interior().constBits(), pixels);
}

}  // namespace tunvell::testing

QTEST_MAIN(tunvell::testing::SpectrumEdgeTest)
#include "spectrum_edge_test.moc"
