#include <QtTest>

#include <QPushButton>

#include "app/shell.h"
#include "app/single_instance.h"
#include "tests/fakes/main_window_fixture.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

const QString PLAYING_CAPTION = QStringLiteral("暂 停");
const QString IDLE_CAPTION = QStringLiteral("播 放");

// A started window with one stream playing.
void StartPlaying(MainWindowFixture& fixture) {
    fixture.Start();
    fixture.audio.AddFile(u"/music/a.mp3"_qs);
    fixture.state.currentStream = fixture.audio.StreamCreateFile(u"/music/a.mp3"_qs);
    fixture.audio.ChannelPlay(fixture.state.currentStream, false);
    fixture.Controls().按钮播放暂停->setText(PLAYING_CAPTION);
    fixture.Window().时钟1.SetPeriod(1000);
    fixture.Window().绘制时钟.SetPeriod(30);
}

}  // namespace

class ShutdownTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closeAsksOnlyWhileASongPlays_data();
    void closeAsksOnlyWhileASongPlays();
    void closeBoxGoesThroughConfirmClose();
    void exitNeverAsks();
    void tearDownStopsTimersAndFreesTheMarker();
    void minimiseKeepsTheWindowWhereNoTrayCanBringItBack();
};

void ShutdownTest::closeAsksOnlyWhileASongPlays_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<BoxAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::newRow("playing, yes") << PLAYING_CAPTION << BoxAnswer::Yes << true << true;
    QTest::newRow("playing, no") << PLAYING_CAPTION << BoxAnswer::No << true << false;
    QTest::newRow("paused or idle") << IDLE_CAPTION << BoxAnswer::No << false << true;
}

void ShutdownTest::closeAsksOnlyWhileASongPlays() {
    QFETCH(QString, caption);
    QFETCH(BoxAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);

    MainWindowFixture fixture;
    StartPlaying(fixture);
    fixture.Controls().按钮播放暂停->setText(caption);
    fixture.prompts.answers.push_back(answer);
    const StreamHandle stream = fixture.state.currentStream;

    QCOMPARE(ConfirmClose(fixture.Window()), closed);

    QCOMPARE(fixture.prompts.shown.size(), std::size_t{asked ? 1u : 0u});
    if (asked) {
        const FakePrompts::Shown& box = fixture.prompts.shown.front();
        QCOMPARE(box.text, u"当前正在播放，是否退出播放器？"_qs);
        QCOMPARE(box.title, u"警告"_qs);
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.buttons, BoxButtons::YesNo);
    }
    QCOMPARE(fixture.Window().IsDestroyed(), closed);
    // Only a confirmed close of a playing song stops it; the audio is not freed.
    const bool stopped = asked && closed;
    QCOMPARE(fixture.audio.ChannelIsActive(stream), stopped ? ACTIVE_STOPPED : ACTIVE_PLAYING);
    QVERIFY(!fixture.audio.freeCalled);
    QCOMPARE(fixture.Window().时钟1.Period(), closed ? 0 : 1000);
}

void ShutdownTest::closeBoxGoesThroughConfirmClose() {
    MainWindowFixture fixture;
    StartPlaying(fixture);
    fixture.prompts.answers.push_back(BoxAnswer::No);
    QVERIFY(!fixture.Window().close());
    QVERIFY(fixture.Window().isVisible());
    QVERIFY(!fixture.Window().IsDestroyed());

    fixture.prompts.answers.push_back(BoxAnswer::Yes);
    QSignalSpy destroyed(&fixture.Window(), &MainWindow::windowDestroyed);
    fixture.Window().close();
    QCOMPARE(destroyed.count(), 1);
    QVERIFY(!fixture.Window().isVisible());
}

void ShutdownTest::exitNeverAsks() {
    MainWindowFixture fixture;
    StartPlaying(fixture);
    const StreamHandle stream = fixture.state.currentStream;
    ExitPlayer(fixture.Window());
    QVERIFY(fixture.prompts.shown.empty());
    QVERIFY(fixture.audio.freeCalled);
    QCOMPARE(fixture.audio.ChannelIsActive(stream), ACTIVE_STOPPED);
    QVERIFY(fixture.Window().IsDestroyed());
}

void ShutdownTest::tearDownStopsTimersAndFreesTheMarker() {
    MainWindowFixture fixture;
    StartPlaying(fixture);
    SingleInstanceGuard next;
    QVERIFY(next.AcquireSingleInstance(INSTANCE_MARKER_NAME));

    fixture.Window().DestroyWindow();
    fixture.Window().DestroyWindow();  // a second end changes nothing

    QCOMPARE(fixture.Window().时钟1.Period(), 0);
    QCOMPARE(fixture.Window().时钟取时.Period(), 0);
    QCOMPARE(fixture.Window().绘制时钟.Period(), 0);
    QVERIFY(!next.AcquireSingleInstance(INSTANCE_MARKER_NAME));
}

void ShutdownTest::minimiseKeepsTheWindowWhereNoTrayCanBringItBack() {
    // The headless platform has no tray, so a minimised window must stay
    // reachable; with a tray it hides (checked end to end under a tray host).
    MainWindowFixture fixture;
    fixture.Start();
    fixture.Window().showMinimized();
    HideIfMinimised(fixture.Window());
    QVERIFY(fixture.Window().isVisible());
}

QTEST_MAIN(ShutdownTest)
#include "test_shutdown.moc"
