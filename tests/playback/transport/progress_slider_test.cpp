// The progress slider: the user's own actions seek to the position they set,
// the program's position writes never do, and maximum and position stay in
// the slider's limits.

#include <QtTest>

#include "tests/playback/transport/transport_harness.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

const QString SONG = QStringLiteral("/m/a.mp3");

// A 20-step song playing with the slider at `step`, in a shown window so that
// real key and mouse events reach the slider.
void PlayAt(TransportHarness& h, int step) {
    h.f.audio.AddFile(SONG, 20 * BYTES_PER_SLIDER_STEP);
    h.list.addItem(TransportHarness::Temporary(SONG));
    h.Select(0);
    h.player.PlaySelectedSong();
    h.f.audio.SetHeardPosition(h.Current(), step * BYTES_PER_SLIDER_STEP);
    h.player.ProgressTick();
    h.f.audio.calls.clear();
}

QStringList Seeks(const TransportHarness& h) {
    QStringList seeks;
    for (const std::string& call : h.f.audio.calls) {
        if (call.rfind("ChannelSetPosition(", 0) == 0) {
            seeks << QString::fromStdString(call);
        }
    }
    return seeks;
}

QString SeekTo(StreamHandle stream, int step) {
    return QStringLiteral("ChannelSetPosition(%1,%2)")
        .arg(stream)
        .arg(static_cast<qint64>(step) * BYTES_PER_SLIDER_STEP);
}

enum class Action { Key, Drag, TrackClick };

}  // namespace

Q_DECLARE_METATYPE(Action)

class ProgressSliderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userActionsSeek_data();
    void userActionsSeek();
    void programWritesNeverSeek();
    void limits_data();
    void limits();
    void seekWhilePausedResumesThere();
};

void ProgressSliderTest::userActionsSeek_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");  // -1: wherever the style puts it, past the start

    QTest::newRow("right arrow") << 5 << Action::Key << int(Qt::Key_Right) << 6;
    QTest::newRow("left arrow") << 5 << Action::Key << int(Qt::Key_Left) << 4;
    QTest::newRow("page up") << 5 << Action::Key << int(Qt::Key_PageUp) << 15;
    // The minimum is 1: the earliest seek is one step into the song.
    QTest::newRow("page down") << 5 << Action::Key << int(Qt::Key_PageDown) << 1;
    QTest::newRow("home") << 5 << Action::Key << int(Qt::Key_Home) << 1;
    QTest::newRow("end") << 5 << Action::Key << int(Qt::Key_End) << 20;
    QTest::newRow("left at the minimum still seeks") << 1 << Action::Key << int(Qt::Key_Left) << 1;
    QTest::newRow("one step of a drag, then release") << 5 << Action::Drag << 0 << 9;
    QTest::newRow("click on the track") << 5 << Action::TrackClick << 0 << -1;
}

void ProgressSliderTest::userActionsSeek() {
    QFETCH(int, start);
    QFETCH(Action, action);
    QFETCH(int, key);
    QFETCH(int, expected);

    TransportHarness h;
    h.f.Window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.f.Window()));
    PlayAt(h, start);
    QCOMPARE(h.slider.value(), start);

    switch (action) {
        case Action::Key:
            QTest::keyClick(&h.slider, Qt::Key(key));
            break;
        case Action::Drag:
            // What a drag does to the slider: pressed, moved, released.
            h.slider.setSliderDown(true);
            h.slider.setSliderPosition(expected);
            h.slider.setSliderDown(false);
            break;
        case Action::TrackClick:
            QTest::mouseClick(&h.slider, Qt::LeftButton, {},
                              QPoint(h.slider.width() - 3, h.slider.height() / 2));
            break;
    }

    const int position = h.slider.sliderPosition();
    if (expected >= 0) {
        QCOMPARE(position, expected);
    } else {
        QVERIFY(position > start);
    }
    QCOMPARE(Seeks(h), QStringList{SeekTo(h.Current(), position)});
}

void ProgressSliderTest::programWritesNeverSeek() {
    TransportHarness h;
    h.f.Window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.f.Window()));
    h.f.state.playMode = QStringLiteral("1");
    PlayAt(h, 12);
    h.f.audio.AddFile(QStringLiteral("/m/short.mp3"), 3 * BYTES_PER_SLIDER_STEP);
    h.list.addItem(TransportHarness::Temporary(QStringLiteral("/m/short.mp3")));

    h.f.audio.SetHeardPosition(h.Current(), 13 * BYTES_PER_SLIDER_STEP);
    h.player.ProgressTick();
    QCOMPARE(h.slider.value(), 13);
    // A shorter song lowers the maximum under the position; the tick that
    // follows moves the slider back to the start.
    h.EndCurrent();
    h.player.ProgressTick();
    QCOMPARE(h.slider.maximum(), 3);
    h.player.ProgressTick();
    h.player.StopPlayback();
    QCOMPARE(h.slider.value(), 1);

    QVERIFY(Seeks(h).isEmpty());
}

void ProgressSliderTest::limits_data() {
    QTest::addColumn<qint64>("length");  // -1: the file does not open
    QTest::addColumn<qint64>("heard");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    const qint64 step = BYTES_PER_SLIDER_STEP;
    QTest::newRow("file that fails to open") << qint64(-1) << qint64(0) << 1 << 1;
    QTest::newRow("ten steps") << 10 * step << 4 * step << 10 << 4;
    QTest::newRow("under half a step") << step * 4 / 10 << qint64(0) << 1 << 1;
    QTest::newRow("past the slider's reach") << 40000 * step << 40000 * step << 32767 << 32767;
}

void ProgressSliderTest::limits() {
    QFETCH(qint64, length);
    QFETCH(qint64, heard);
    QFETCH(int, maximum);
    QFETCH(int, value);

    TransportHarness h;
    if (length >= 0) {
        h.f.audio.AddFile(SONG, length);
    }
    h.list.addItem(TransportHarness::Temporary(SONG));
    h.Select(0);
    h.player.PlaySelectedSong();
    QCOMPARE(h.slider.maximum(), maximum);
    h.f.audio.SetHeardPosition(h.Current(), heard);
    h.player.ProgressTick();

    QCOMPARE(h.slider.value(), value);
    QCOMPARE(h.slider.maximum(), maximum);
    QCOMPARE(h.slider.minimum(), 1);
}

void ProgressSliderTest::seekWhilePausedResumesThere() {
    TransportHarness h;
    h.f.Window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.f.Window()));
    PlayAt(h, 5);
    const StreamHandle song = h.Current();
    h.player.TogglePlayPause();
    QCOMPARE(h.Activity(), ACTIVE_PAUSED);

    QTest::keyClick(&h.slider, Qt::Key_PageUp);
    h.player.TogglePlayPause();

    QCOMPARE(h.Current(), song);
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QCOMPARE(h.f.audio.ChannelGetPosition(song), 15 * BYTES_PER_SLIDER_STEP);
    h.player.ProgressTick();
    QCOMPARE(h.slider.value(), 15);
}

QTEST_MAIN(ProgressSliderTest)
#include "progress_slider_test.moc"
