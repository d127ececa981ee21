#include <QTest>

#include "app/core/clock_tick.h"
#include "app/core/part_status_bar.h"
#include "tests/fakes/fixed_clock.h"

namespace tunvell {

class TestClockTick : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void writesTheTimeIntoPartZeroOnly_data();
    void writesTheTimeIntoPartZeroOnly();
    void barWithoutPartsIsLeftAlone();
};

void TestClockTick::writesTheTimeIntoPartZeroOnly_data() {
    QTest::addColumn<QTime>("now");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight") << QTime(0, 0, 0) << QStringLiteral(" 现在时间 00:00:00");
    QTest::newRow("single digits") << QTime(9, 5, 3) << QStringLiteral(" 现在时间 09:05:03");
    QTest::newRow("afternoon") << QTime(13, 1, 0) << QStringLiteral(" 现在时间 13:01:00");
    QTest::newRow("last second") << QTime(23, 59, 59) << QStringLiteral(" 现在时间 23:59:59");
}

void TestClockTick::writesTheTimeIntoPartZeroOnly() {
    QFETCH(QTime, now);
    QFETCH(QString, expected);
    PartStatusBar bar;
    bar.SetPartWidths({118, 80, 320});
    bar.SetPartText(1, QStringLiteral("共 3 首"));
    bar.SetPartText(2, QStringLiteral("当前播放 a"));
    testing::FixedClock clock;
    clock.now = now;

    ClockTick(bar, clock);

    QCOMPARE(bar.PartText(0), expected);
    QCOMPARE(bar.PartText(1), QStringLiteral("共 3 首"));
    QCOMPARE(bar.PartText(2), QStringLiteral("当前播放 a"));
}

void TestClockTick::barWithoutPartsIsLeftAlone() {
    PartStatusBar bar;
    testing::FixedClock clock;
    ClockTick(bar, clock);
    QCOMPARE(bar.PartCount(), 0);
    QCOMPARE(bar.PartText(0), QString());
}

}  // namespace tunvell

QTEST_MAIN(tunvell::TestClockTick)
#include "test_clock_tick.moc"
