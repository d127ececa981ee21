// Golden frames: the exact interior after each tick for scripted magnitudes,
// with every expected bar worked out by hand from the level, average and cap
// rules (level of bin i-1: 80·b·(1 + (200 - i)/4), clamped at 45; a bar of
// w + 1 bins has its top on row trunc(45 - avg) and its cap on row 45 - cap - 1).
#include <QtTest>

#include "tests/spectrum/spectrum_rig.h"

namespace tunvell::testing {
namespace {

struct GoldenTick {
    int width = 7;
    Bins bins;
    QList<ExpectedBar> bars;  // the bars that show; all others lie below the interior
};

// Full ramp over bins 0..15: b = (k + 1)/1024 = i/1024, level 5·i·(204 - i)/256, exact
// in floats (3.96484375, 7.890625, ... 41.46484375, then 45 from i = 12 on).
// Half ramp: b = i/2048, level 5·i·(204 - i)/512.
Bins Ramp(float divisor) {
    Bins bins;
    for (int k = 0; k < 16; ++k) {
        bins.insert(k, static_cast<float>(k + 1) / divisor);
    }
    return bins;
}

}  // namespace
}  // namespace tunvell::testing

Q_DECLARE_METATYPE(tunvell::testing::GoldenTick)

namespace tunvell::testing {

class SpectrumFrameTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void goldenFrames_data();
    void goldenFrames();
    void levelRules_data();
    void levelRules();
    void capRules_data();
    void capRules();
};

void SpectrumFrameTest::goldenFrames_data() {
    QTest::addColumn<QList<GoldenTick>>("ticks");
    const Bins silence;
    const Bins halfRamp = Ramp(2048.0f);
    const Bins fullRamp = Ramp(1024.0f);

    // b = 0.5 at i = 1 gives 2030, clamped to 45; silence then takes 3 a tick.
    QTest::newRow("loud low bin, width 7") << QList<GoldenTick>{
        // avg 45/8 = 5.625: top trunc(39.375) = 39; cap 5, row 39
        {7, {{0, 0.5f}}, {{0, 7, 39, 39}}},
        // avg 42/8 = 5.25: top 39; 5.25 > 5 so the cap stays 5
        {7, silence, {{0, 7, 39, 39}}},
        // avg 4.875: top trunc(40.125) = 40; cap sinks to 4, row 40
        {7, silence, {{0, 7, 40, 40}}},
        // avg 4.5: top 40; 4.5 > 4 keeps the cap at 4
        {7, silence, {{0, 7, 40, 40}}},
    };
    QTest::newRow("loud low bin, width 1") << QList<GoldenTick>{
        // bins 0 and 1: avg 22.5, top 22; cap 22, row 22
        {1, {{0, 0.5f}}, {{0, 1, 22, 22}}},
        // avg 21, top 24; cap sinks to 21, row 23: the cap now floats above the bar
        {1, silence, {{0, 1, 24, 23}}},
        {1, silence, {{0, 1, 25, 24}}},  // avg 19.5, top trunc(25.5); cap 20
        {1, silence, {{0, 1, 27, 25}}},  // avg 18; cap 19
    };
    // Eight loud bins fill the first bar: top row 0, cap 45 on row -1 (unseen);
    // then the bar falls 3 a tick and the cap 1.
    QTest::newRow("silence after music, width 7") << QList<GoldenTick>{
        {7, LoudBins(0, 8), {{0, 7, 0, -1}}},
        {7, silence, {{0, 7, 3, 0}}},
        {7, silence, {{0, 7, 6, 1}}},
    };
    QTest::newRow("silence after music, width 1") << QList<GoldenTick>{
        {1, LoudBins(0, 8), {{0, 1, 0, -1}, {2, 3, 0, -1}, {4, 5, 0, -1}, {6, 7, 0, -1}}},
        {1, silence, {{0, 1, 3, 0}, {2, 3, 3, 0}, {4, 5, 3, 0}, {6, 7, 3, 0}}},
        {1, silence, {{0, 1, 6, 1}, {2, 3, 6, 1}, {4, 5, 6, 1}, {6, 7, 6, 1}}},
    };
    QTest::newRow("mid-level ramp, width 7") << QList<GoldenTick>{
        // half ramp: avgs 8.7158203125 and 23.3251953125
        {7, halfRamp, {{0, 7, 36, 36}, {8, 15, 21, 21}}},
        // full ramp: avgs 17.431640625 and 42.3291015625
        {7, fullRamp, {{0, 7, 27, 27}, {8, 15, 2, 2}}},
        // half ramp again lies below: every level falls 3, avgs 14.43 and 39.33; caps sink 1
        {7, halfRamp, {{0, 7, 30, 28}, {8, 15, 5, 3}}},
    };
    QTest::newRow("mid-level ramp, width 1") << QList<GoldenTick>{
        // avgs 2.96, 6.85, 10.66, 14.39, 18.04, 21.62, 25.11, 28.53
        {1,
         halfRamp,
         {{0, 1, 42, 42},
          {2, 3, 38, 38},
          {4, 5, 34, 34},
          {6, 7, 30, 30},
          {8, 9, 26, 26},
          {10, 11, 23, 23},
          {12, 13, 19, 19},
          {14, 15, 16, 16}}},
        // avgs 5.93, 13.70, 21.32, 28.78, 36.08, 43.23, 45, 45
        {1,
         fullRamp,
         {{0, 1, 39, 39},
          {2, 3, 31, 31},
          {4, 5, 23, 23},
          {6, 7, 16, 16},
          {8, 9, 8, 8},
          {10, 11, 1, 1},
          {12, 13, 0, -1},
          {14, 15, 0, -1}}},
        // every level falls 3 (bin 0: 3.96 to 0.96 although the new value is 1.98)
        {1,
         halfRamp,
         {{0, 1, 42, 40},
          {2, 3, 34, 32},
          {4, 5, 26, 24},
          {6, 7, 19, 17},
          {8, 9, 11, 9},
          {10, 11, 4, 2},
          {12, 13, 3, 0},
          {14, 15, 3, 0}}},
    };
    // Bin 0 fell twice to 39 when bin 1 arrives at 45: avg 84/8 = 10.5 rises over
    // the cap 5; top trunc(34.5) = 34 and cap 10 on row 34, the same row.
    QTest::newRow("cap on the top row at avg 10.5") << QList<GoldenTick>{
        {7, {{0, 1.0f}}, {{0, 7, 39, 39}}},
        {7, silence, {{0, 7, 39, 39}}},
        {7, {{1, 1.0f}}, {{0, 7, 34, 34}}},
    };
    // i = 200 has the gain 80: b = 0.25 gives 20, so the bar of bins 198 and 199
    // averages a whole 10: top row 35, cap 10 one row above.
    QTest::newRow("cap above the top at a whole avg") << QList<GoldenTick>{
        {1, {{199, 0.25f}}, {{198, 199, 35, 34}}},
    };
    // b = 0x1.c3f8eep-9 at i = 1: in doubles 80·b·50.75 = 13.9999990026, stored as
    // the float 13.999999046; avg 6.9999995, so cap 6 on row 38. Float arithmetic
    // would reach 14 and put the cap on row 37.
    QTest::newRow("level just under a whole number") << QList<GoldenTick>{
        {1, {{0, 0x1.c3f8eep-9f}}, {{0, 1, 38, 38}}},
    };
    // Levels are per bin; the cap of bin 7 keeps what the width-7 bar left in it.
    QTest::newRow("width change between ticks") << QList<GoldenTick>{
        {7, {{0, 0.5f}}, {{0, 7, 39, 39}}},
        // bar of bins 0,1: avg 21 over an unused cap 0: cap 21, row 23. Bar of
        // bins 6,7: empty, but its cap 5 sinks to 4 and shows on row 40.
        {1, silence, {{0, 1, 24, 23}, {6, 7, 45, 40}}},
        // back to 7: avg 39/8 = 4.875 over cap 4: cap 4, top 40
        {7, silence, {{0, 7, 40, 40}}},
    };
}

void SpectrumFrameTest::goldenFrames() {
    QFETCH(QList<GoldenTick>, ticks);
    SpectrumRig rig;
    for (qsizetype n = 0; n < ticks.size(); ++n) {
        rig.state.spectrumBarWidth = ticks[n].width;
        rig.Tick(ticks[n].bins);
        const QString difference =
            DescribeDifference(rig.canvas.Interior(), ExpectedFrame(ticks[n].bars));
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("tick %1: %2").arg(n + 1).arg(difference)));
    }
}

void SpectrumFrameTest::levelRules_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("before");
    QTest::addColumn<float>("magnitude");  // of bin 0, gain 4060
    QTest::addColumn<float>("after");

    // 2^-9 · 4060 = 7.9296875 exactly
    const float small = 0x1p-9f;
    QTest::newRow("rises at once") << 45 << 0.0f << small << 7.9296875f;
    QTest::newRow("rises by less than 3") << 45 << 5.0f << small << 7.9296875f;
    QTest::newRow("falls 3 even past a nearer value") << 45 << 9.0f << small << 6.0f;
    QTest::newRow("an equal value does not hold it") << 45 << 7.9296875f << small << 4.9296875f;
    QTest::newRow("falls below 0 from 2.5") << 45 << 2.5f << 0.0f << -0.5f;
    QTest::newRow("rests at 2") << 45 << 2.0f << 0.0f << 2.0f;
    QTest::newRow("silence lifts a level below 0") << 45 << -0.5f << 0.0f << 0.0f;
    QTest::newRow("clamped to the height") << 45 << 0.0f << 0.5f << 45.0f;
    QTest::newRow("clamped to a smaller height") << 20 << 0.0f << 0.5f << 20.0f;
    QTest::newRow("a fall that stays above the height") << 20 << 40.0f << 0.0f << 20.0f;
    QTest::newRow("rounded once, from doubles")
        << 45 << 0.0f << 0x1.c3f8eep-9f << 0x1.bffffep+3f;  // 13.999999046
}

void SpectrumFrameTest::levelRules() {
    QFETCH(int, height);
    QFETCH(float, before);
    QFETCH(float, magnitude);
    QFETCH(float, after);
    SpectrumRig rig;
    rig.state.spectrumHeight = height;
    rig.Buffers().levels[0] = before;
    rig.Tick({{0, magnitude}});
    const float level = rig.Buffers().levels[0];
    QVERIFY2(
        level == after,
        qPrintable(
            QStringLiteral("level %1, expected %2").arg(level, 0, 'g', 12).arg(after, 0, 'g', 12)));
    QCOMPARE(rig.Buffers().binCopy[0], magnitude);
}

void SpectrumFrameTest::capRules_data() {
    // Width 0 makes every bin its own bar, so the average is the bin's level
    // after the tick: silence takes 3 from a level above 2.
    QTest::addColumn<float>("level");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");

    QTest::newRow("jumps to the truncated average") << 13.5f << 3 << 10;     // avg 10.5
    QTest::newRow("an equal average lets it sink") << 8.0f << 5 << 4;        // avg 5
    QTest::newRow("a slightly higher average holds it") << 8.25f << 5 << 5;  // avg 5.25
    QTest::newRow("sinks one a tick") << 3.0f << 10 << 9;                    // avg 0
    QTest::newRow("floor of 1") << 0.0f << 1 << 1;
    QTest::newRow("unused cap goes to 1") << 0.0f << 0 << 1;
    QTest::newRow("a fraction over 0 truncates to 0") << 0.5f << 0 << 0;
}

void SpectrumFrameTest::capRules() {
    QFETCH(float, level);
    QFETCH(int, before);
    QFETCH(int, after);
    SpectrumRig rig;
    rig.state.spectrumBarWidth = 0;
    rig.Buffers().levels[0] = level;
    rig.Buffers().caps[0] = before;
    rig.Tick(Bins{});
    QCOMPARE(rig.Buffers().caps[0], after);
}

}  // namespace tunvell::testing

QTEST_MAIN(tunvell::testing::SpectrumFrameTest)
#include "spectrum_frame_test.moc"
