// The spectrum in the main window: the canvas the layout gives it, the height
// read at start-up, and bars that continue across a pause and a change of song
// started through the transport commands.
#include <QListWidget>
#include <QtTest>

#include "tests/fakes/main_window_fixture.h"
#include "tests/spectrum/expected_frame.h"
#include "tests/spectrum/spectrum_rig.h"

namespace tunvell::testing {

class SpectrumWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void canvasOfTheMainWindow();
    void barsContinueAcrossPauseAndSongChange();
};

void SpectrumWindowTest::canvasOfTheMainWindow() {
    MainWindowFixture f;
    f.Start();
    SpectrumCanvas& canvas = *f.Controls().画板1;
    QCOMPARE(f.state.spectrumHeight, 45);
    QCOMPARE(canvas.contentsRect(), QRect(1, 1, INTERIOR_WIDTH, INTERIOR_HEIGHT));
    QVERIFY(!canvas.isVisible());
    QCOMPARE(f.Window().绘制时钟.Period(), 0);

    // With no song started a tick leaves only the background, even hidden.
    Q_EMIT f.Window().绘制时钟.ticked();
    QCOMPARE(DescribeDifference(canvas.Interior(), ExpectedFrame({})), QString());
}

void SpectrumWindowTest::barsContinueAcrossPauseAndSongChange() {
    MainWindowFixture f;
    f.Start();
    f.audio.AddFile(QStringLiteral("/m/a.mp3"));
    f.audio.AddFile(QStringLiteral("/m/b.mp3"));
    f.AddListItems({QStringLiteral("临时 /m/a.mp3"), QStringLiteral("临时 /m/b.mp3")});
    QListWidget& list = *f.Controls().列表框歌曲;
    SpectrumCanvas& canvas = *f.Controls().画板1;
    PeriodTimer& timer = f.Window().绘制时钟;

    list.setCurrentRow(0);
    f.Player().PlaySelectedSong();
    QCOMPARE(timer.Period(), 30);
    QVERIFY(canvas.isVisible());
    f.audio.SetFft(Magnitudes(LoudBins()));
    Q_EMIT timer.ticked();
    QCOMPARE(DescribeDifference(canvas.Interior(), ExpectedFrame({{0, 7, 0, -1}})), QString());

    f.Player().TogglePlayPause();
    QCOMPARE(timer.Period(), 0);
    QVERIFY(canvas.isVisible());  // the last frame stays on screen
    f.Player().TogglePlayPause();
    QCOMPARE(timer.Period(), 30);
    f.audio.SetFft(Magnitudes({}));
    Q_EMIT timer.ticked();
    QCOMPARE(DescribeDifference(canvas.Interior(), ExpectedFrame({{0, 7, 3, 0}})), QString());

    list.setCurrentRow(1);
    f.Player().PlaySelectedSong();
    Q_EMIT timer.ticked();
    QCOMPARE(DescribeDifference(canvas.Interior(), ExpectedFrame({{0, 7, 6, 1}})), QString());

    f.Player().StopPlayback();
    QCOMPARE(timer.Period(), 0);
    QVERIFY(!canvas.isVisible());
}

}  // namespace tunvell::testing

QTEST_MAIN(tunvell::testing::SpectrumWindowTest)
#include "spectrum_window_test.moc"
