#include <QTest>

#include <climits>
#include <cstdint>
#include <limits>

#include "playback/audio_output.h"

using tunvell::BytesToSliderSteps;
using tunvell::SliderStepsToBytes;

class SliderStepsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bytesToSteps_data() {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<int>("steps");
        QTest::newRow("zero") << qint64{0} << 0;
        QTest::newRow("failed query -1") << qint64{-1} << 0;
        QTest::newRow("just under half a step") << qint64{88413} << 0;
        QTest::newRow("half a step rounds up") << qint64{88414} << 1;
        QTest::newRow("minus half a step rounds away") << qint64{-88414} << -1;
        QTest::newRow("one step") << qint64{176828} << 1;
        QTest::newRow("one and a half") << qint64{265242} << 2;
        QTest::newRow("just under one and a half") << qint64{265241} << 1;
        QTest::newRow("a 44.1 kHz stereo second is not a step") << qint64{176400} << 1;
        QTest::newRow("ten minutes of CD audio") << qint64{105840000} << 599;
        QTest::newRow("slider limit") << qint64{32767} * 176828 << 32767;
        QTest::newRow("largest int of steps") << qint64{INT_MAX} * 176828 << INT_MAX;
        QTest::newRow("beyond int saturates")
            << std::numeric_limits<qint64>::max() << std::numeric_limits<int>::max();
        QTest::newRow("far below int saturates")
            << std::numeric_limits<qint64>::min() << std::numeric_limits<int>::min();
    }
    void bytesToSteps() {
        QFETCH(qint64, bytes);
        QFETCH(int, steps);
        QCOMPARE(BytesToSliderSteps(bytes), steps);
    }

    void stepsToBytes_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<qint64>("bytes");
        QTest::newRow("zero") << 0 << qint64{0};
        QTest::newRow("slider minimum") << 1 << qint64{176828};
        QTest::newRow("negative") << -3 << qint64{-530484};
        QTest::newRow("slider maximum") << 32767 << qint64{5794123076};
        QTest::newRow("largest int") << INT_MAX << qint64{INT_MAX} * 176828;
        QTest::newRow("smallest int") << INT_MIN << qint64{INT_MIN} * 176828;
    }
    void stepsToBytes() {
        QFETCH(int, steps);
        QFETCH(qint64, bytes);
        QCOMPARE(SliderStepsToBytes(steps), bytes);
    }
};

QTEST_GUILESS_MAIN(SliderStepsTest)
#include "slider_steps_test.moc"
