// The transport commands over a real main window: the four transport states
// and the moves between them, next and previous, and what each way of
// starting a song does when its file will not open or cannot be found.

#include <QtTest>

#include "tests/playback/transport/transport_harness.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

enum class State { Fresh, Playing, Paused, Stopped, Ended, Waiting };
enum class Command { Toggle, Stop, PlaySelected, Next, Previous, Tick };

const QString PAUSE = QStringLiteral("暂 停");
const QString PLAY = QStringLiteral("播 放");
const QString A = QStringLiteral("/m/a.mp3");
const QString B = QStringLiteral("/m/b.mp3");

// Brings a two-song list [a, b] into `state` the way a user would.
void Reach(TransportHarness& h, State state) {
    h.f.state.playMode = QStringLiteral("1");
    h.AddPlayableItems({A, B});
    if (state == State::Fresh) {
        return;
    }
    h.Select(0);
    h.player.PlaySelectedSong();
    switch (state) {
        case State::Paused:
            h.player.TogglePlayPause();
            break;
        case State::Stopped:
            h.player.StopPlayback();
            break;
        case State::Ended:
            h.EndCurrent();
            break;
        case State::Waiting:
            h.player.StopPlayback();
            h.Select(-1);
            h.player.TogglePlayPause();
            break;
        default:
            break;
    }
}

void Run(TransportHarness& h, Command command) {
    switch (command) {
        case Command::Toggle:
            return h.player.TogglePlayPause();
        case Command::Stop:
            return h.player.StopPlayback();
        case Command::PlaySelected:
            return h.player.PlaySelectedSong();
        case Command::Next:
            return h.player.PlayNext();
        case Command::Previous:
            return h.player.PlayPrevious();
        case Command::Tick:
            return h.player.ProgressTick();
    }
}

}  // namespace

Q_DECLARE_METATYPE(State)
Q_DECLARE_METATYPE(Command)

class TransportCommandsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stateTransitions_data();
    void stateTransitions();
    void stopKeepsClockTitleAndStream();
    void playSelectedShowsTheSong_data();
    void playSelectedShowsTheSong();
    void nextAndPrevious_data();
    void nextAndPrevious();
    void togglePlayOnEmptyListOnlyOffersToAdd();
    void failedOpenInEachWayOfStarting_data();
    void failedOpenInEachWayOfStarting();
    void unresolvedItemInEachWayOfStarting_data();
    void unresolvedItemInEachWayOfStarting();
};

void TransportCommandsTest::stateTransitions_data() {
    QTest::addColumn<State>("from");
    QTest::addColumn<bool>("deselect");
    QTest::addColumn<Command>("command");
    QTest::addColumn<State>("to");
    // For Playing: the song heard afterwards, and whether it is the old stream.
    QTest::addColumn<QString>("song");
    QTest::addColumn<bool>("sameStream");

    using S = State;
    using C = Command;
    QTest::newRow("playing, pause") << S::Playing << false << C::Toggle << S::Paused << A << true;
    QTest::newRow("paused, resume") << S::Paused << false << C::Toggle << S::Playing << A << true;
    QTest::newRow("playing, stop") << S::Playing << false << C::Stop << S::Stopped << A << true;
    QTest::newRow("paused, stop") << S::Paused << false << C::Stop << S::Stopped << A << true;
    QTest::newRow("waiting, stop")
        << S::Waiting << false << C::Stop << S::Stopped << QString() << true;
    QTest::newRow("stopped, play selected")
        << S::Stopped << false << C::Toggle << S::Playing << A << false;
    QTest::newRow("ended, play selected")
        << S::Ended << false << C::Toggle << S::Playing << A << false;
    QTest::newRow("stopped, play with none selected")
        << S::Stopped << true << C::Toggle << S::Waiting << QString() << true;
    QTest::newRow("fresh, play with none selected")
        << S::Fresh << true << C::Toggle << S::Waiting << QString() << true;
    QTest::newRow("waiting, tick picks")
        << S::Waiting << false << C::Tick << S::Playing << A << false;
    QTest::newRow("paused, double-click")
        << S::Paused << false << C::PlaySelected << S::Playing << A << false;
    QTest::newRow("stopped, next") << S::Stopped << false << C::Next << S::Playing << B << false;
    QTest::newRow("playing, previous")
        << S::Playing << false << C::Previous << S::Playing << B << false;
    QTest::newRow("playing, tick keeps song")
        << S::Playing << false << C::Tick << S::Playing << A << true;
    QTest::newRow("ended, tick moves on")
        << S::Ended << false << C::Tick << S::Playing << B << false;
}

void TransportCommandsTest::stateTransitions() {
    QFETCH(State, from);
    QFETCH(bool, deselect);
    QFETCH(Command, command);
    QFETCH(State, to);
    QFETCH(QString, song);
    QFETCH(bool, sameStream);

    TransportHarness h;
    Reach(h, from);
    if (deselect) {
        h.Select(-1);
    }
    const StreamHandle before = h.Current();
    const bool canvasBefore = h.CanvasShown();
    const int opened = h.CountCalls("StreamCreateFile(");

    Run(h, command);

    switch (to) {
        case State::Playing:
            QCOMPARE(h.Activity(), ACTIVE_PLAYING);
            QCOMPARE(h.CurrentPath(), song);
            QCOMPARE(h.Current() == before, sameStream);
            QCOMPARE(h.Caption(), PAUSE);
            QCOMPARE(h.ProgressPeriod(), 1000);
            QCOMPARE(h.SpectrumPeriod(), 30);
            QVERIFY(h.CanvasShown());
            break;
        case State::Paused:
            QCOMPARE(h.Activity(), ACTIVE_PAUSED);
            QCOMPARE(h.Current(), before);
            QCOMPARE(h.Caption(), PLAY);
            QCOMPARE(h.ProgressPeriod(), 0);
            QCOMPARE(h.SpectrumPeriod(), 0);
            QCOMPARE(h.CanvasShown(), canvasBefore);
            break;
        case State::Stopped:
            QVERIFY(h.Activity() != ACTIVE_PLAYING && h.Activity() != ACTIVE_PAUSED);
            QCOMPARE(h.Caption(), PLAY);
            QCOMPARE(h.ProgressPeriod(), 0);
            QCOMPARE(h.SpectrumPeriod(), 0);
            QVERIFY(!h.CanvasShown());
            break;
        case State::Waiting:
            QVERIFY(h.Activity() != ACTIVE_PLAYING && h.Activity() != ACTIVE_PAUSED);
            QCOMPARE(h.CountCalls("StreamCreateFile("), opened);
            QCOMPARE(h.Caption(), PAUSE);
            QCOMPARE(h.ProgressPeriod(), 1000);
            QCOMPARE(h.SpectrumPeriod(), 30);
            QCOMPARE(h.CanvasShown(), canvasBefore);
            break;
        default:
            QFAIL("not a target state");
    }
    // No command stops the status-bar clock.
    QCOMPARE(h.ClockPeriod(), 500);
    QVERIFY(h.f.prompts.shown.empty());
}

void TransportCommandsTest::stopKeepsClockTitleAndStream() {
    TransportHarness h;
    h.AddPlayableItems({A});
    h.Select(0);
    h.player.PlaySelectedSong();
    h.f.audio.SetHeardPosition(h.Current(), 4 * BYTES_PER_SLIDER_STEP);
    h.player.ProgressTick();
    QCOMPARE(h.slider.value(), 4);
    const StreamHandle playing = h.Current();

    h.player.StopPlayback();

    QCOMPARE(h.Label(), QStringLiteral("欢迎使用"));
    QCOMPARE(h.slider.value(), 1);  // position 0 shows at the minimum
    QCOMPARE(h.slider.minimum(), 1);
    QCOMPARE(h.Status(), QStringLiteral("当前播放 ") + A);
    QCOMPARE(h.f.state.nowPlayingText, TransportHarness::Temporary(A));
    QCOMPARE(h.ClockPeriod(), 500);
    // Stopped, not freed: the same stream is still there to be asked.
    QCOMPARE(h.Current(), playing);
    QCOMPARE(h.f.audio.LiveStreamCount(), 1);
    QCOMPARE(h.Activity(), ACTIVE_STOPPED);

    // Play again starts the selected song anew, from its beginning.
    h.player.TogglePlayPause();
    QVERIFY(h.Current() != playing);
    QCOMPARE(h.f.audio.ChannelGetPosition(h.Current()), std::int64_t{0});
    QCOMPARE(h.f.audio.LiveStreamCount(), 1);
}

void TransportCommandsTest::playSelectedShowsTheSong_data() {
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("nowPlaying");
    QTest::addColumn<bool>("pathFound");

    // The database item stores only the file name; its title drops ".mp3".
    QTest::newRow("temporary item")
        << QStringLiteral("/music/曲 一.mp3") << QStringLiteral("临时 /music/曲 一.mp3") << false;
    QTest::newRow("database item")
        << QStringLiteral("曲 一") << QStringLiteral("曲 一.mp3") << true;
}

void TransportCommandsTest::playSelectedShowsTheSong() {
    QFETCH(QString, label);
    QFETCH(QString, nowPlaying);
    QFETCH(bool, pathFound);

    TransportHarness h;
    const QString path = QStringLiteral("/music/曲 一.mp3");
    h.f.WriteSongDatabase({QStringLiteral("/other/x.mp3"), path});
    h.f.audio.AddFile(path, 25 * BYTES_PER_SLIDER_STEP);
    h.AddPlayableItems({A});
    h.list.addItem(nowPlaying);
    h.Select(0);
    h.player.PlaySelectedSong();
    const StreamHandle old = h.Current();
    h.f.state.pathFound = false;
    h.f.audio.calls.clear();

    h.Select(1);
    h.player.PlaySelectedSong();

    QCOMPARE(QString::fromStdString(h.f.audio.calls.front()),
             QStringLiteral("StreamFree(%1)").arg(old));
    QCOMPARE(h.CurrentPath(), path);
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QCOMPARE(h.Label(), label);
    QCOMPARE(h.Status(), QStringLiteral("当前播放 ") + label);
    QCOMPARE(h.f.state.nowPlayingText, nowPlaying);
    QCOMPARE(h.f.state.pathFound, pathFound);
    QCOMPARE(h.slider.maximum(), 25);
    QCOMPARE(h.Selected(), 1);
    QVERIFY(h.f.prompts.shown.empty());
}

void TransportCommandsTest::nextAndPrevious_data() {
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("next");
    QTest::addColumn<int>("expected");  // -1: nothing happens

    const QStringList abc{A, B, QStringLiteral("/m/c.mp3")};
    const QStringList aba{A, B, A};
    QTest::newRow("next from the middle") << abc << 1 << true << 2;
    QTest::newRow("next from the last wraps") << abc << 2 << true << 0;
    QTest::newRow("previous from the middle") << abc << 1 << false << 0;
    QTest::newRow("previous from the first wraps") << abc << 0 << false << 2;
    QTest::newRow("one item, next replays it") << QStringList{A} << 0 << true << 0;
    // Both count from the first item with the selected text.
    QTest::newRow("A B A, next from third") << aba << 2 << true << 1;
    QTest::newRow("A B A, previous from third") << aba << 2 << false << 2;
    QTest::newRow("next with none selected") << abc << -1 << true << -1;
    QTest::newRow("previous with none selected") << abc << -1 << false << -1;
}

void TransportCommandsTest::nextAndPrevious() {
    QFETCH(QStringList, paths);
    QFETCH(int, selected);
    QFETCH(bool, next);
    QFETCH(int, expected);

    TransportHarness h;
    h.AddPlayableItems(paths);
    h.Select(selected);

    next ? h.player.PlayNext() : h.player.PlayPrevious();

    QCOMPARE(h.Selected(), expected);
    if (expected < 0) {
        QVERIFY(h.f.audio.calls.empty());
        QCOMPARE(h.Caption(), PLAY);
        return;
    }
    QCOMPARE(h.CurrentPath(), paths.at(expected));
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QCOMPARE(h.Caption(), PAUSE);
}

void TransportCommandsTest::togglePlayOnEmptyListOnlyOffersToAdd() {
    TransportHarness h;
    h.f.audio.AddFile(A);
    h.f.prompts.files.push_back(A);

    h.player.TogglePlayPause();

    QCOMPARE(h.f.prompts.fileDialogs, 1);
    QCOMPARE(h.Items(), QStringList{TransportHarness::Temporary(A)});
    QCOMPARE(h.CountCalls("StreamCreateFile("), 0);
    QCOMPARE(h.Caption(), PLAY);
    QCOMPARE(h.ProgressPeriod(), 0);
    QCOMPARE(h.SpectrumPeriod(), 0);
}

namespace {

enum class Way { DoubleClick, Random, LoopAfterSelected, LoopNothingSelected };

// Runs one of the four ways of starting so that it picks item 0. The last item
// must be the temporary song of B, which the loop is taken to have played last.
void StartItemZero(TransportHarness& h, Way way) {
    const QString before = TransportHarness::Temporary(B);
    h.f.state.nowPlayingText = before;
    switch (way) {
        case Way::DoubleClick:
            h.Select(0);
            h.player.PlaySelectedSong();
            break;
        case Way::Random:
            h.f.state.playMode = QStringLiteral("0");
            h.f.random.draws = {0};
            h.player.ProgressTick();
            break;
        case Way::LoopAfterSelected:
            // After the last item the loop wraps to item 0.
            h.f.state.playMode = QStringLiteral("1");
            h.Select(h.list.count() - 1);
            h.player.ProgressTick();
            break;
        case Way::LoopNothingSelected:
            h.f.state.playMode = QStringLiteral("1");
            h.Select(-1);
            h.player.ProgressTick();
            break;
    }
}

}  // namespace

Q_DECLARE_METATYPE(Way)

void TransportCommandsTest::failedOpenInEachWayOfStarting_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<bool>("temporary");
    QTest::addColumn<bool>("reported");
    QTest::addColumn<QString>("statusPrefix");
    QTest::addColumn<bool>("setsNowPlaying");
    QTest::addColumn<int>("progressPeriod");

    const QString byUser = QStringLiteral("当前播放 ");
    const QString byTick = QStringLiteral(" 正在播放 ");
    for (const bool temporary : {true, false}) {
        const char* kind = temporary ? "temporary" : "database";
        QTest::addRow("double-click, %s", kind)
            << Way::DoubleClick << temporary << true << byUser << true << 1000;
        QTest::addRow("random, %s", kind)
            << Way::Random << temporary << false << byTick << false << 0;
        QTest::addRow("loop after selected, %s", kind)
            << Way::LoopAfterSelected << temporary << false << byTick << true << 0;
        QTest::addRow("loop none selected, %s", kind)
            << Way::LoopNothingSelected << temporary << false << byTick << true << 0;
    }
}

void TransportCommandsTest::failedOpenInEachWayOfStarting() {
    QFETCH(Way, way);
    QFETCH(bool, temporary);
    QFETCH(bool, reported);
    QFETCH(QString, statusPrefix);
    QFETCH(bool, setsNowPlaying);
    QFETCH(int, progressPeriod);

    TransportHarness h;
    // The file is known to the store (or named by the item) but will not open.
    const QString broken = QStringLiteral("/m/broken.mp3");
    h.f.WriteSongDatabase({broken});
    const QString item =
        temporary ? TransportHarness::Temporary(broken) : QStringLiteral("broken.mp3");
    const QString title = temporary ? broken : QStringLiteral("broken");
    h.list.addItem(item);
    h.AddPlayableItems({B});
    const QString nowPlayingBefore = TransportHarness::Temporary(B);

    StartItemZero(h, way);

    QCOMPARE(h.CountCalls("StreamCreateFile(/m/broken.mp3)"), 1);
    QCOMPARE(h.Current(), StreamHandle{0});
    if (reported) {
        QCOMPARE(h.f.prompts.shown.size(), std::size_t{1});
        const FakePrompts::Shown& box = h.f.prompts.shown.front();
        QCOMPARE(box.text, QStringLiteral("打开文件失败！"));
        QCOMPARE(box.title, QStringLiteral("信息："));
        QCOMPARE(box.icon, BoxIcon::Information);
        QCOMPARE(box.buttons, BoxButtons::Ok);
    } else {
        QVERIFY(h.f.prompts.shown.empty());
    }
    // Started all the same: named, selected, still listed, and the timers set
    // so that the next tick moves on.
    QCOMPARE(h.Label(), title);
    QCOMPARE(h.Status(), statusPrefix + title);
    QCOMPARE(h.f.state.nowPlayingText, setsNowPlaying ? item : nowPlayingBefore);
    QCOMPARE(h.Selected(), 0);
    QCOMPARE(h.list.count(), 2);
    QCOMPARE(h.slider.maximum(), 1);
    QCOMPARE(h.slider.minimum(), 1);
    QCOMPARE(h.ProgressPeriod(), progressPeriod);
    QCOMPARE(h.SpectrumPeriod(), 30);
    QCOMPARE(h.Caption(), PAUSE);
}

void TransportCommandsTest::unresolvedItemInEachWayOfStarting_data() {
    QTest::addColumn<Way>("way");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("oldStreamFreed");

    const QString gone = QStringLiteral("gone.mp3");
    const QString t = TransportHarness::Temporary(B);
    const QString removedBox =
        QStringLiteral("歌曲数据库中存在无效记录，请手动清空数据库，重新扫描歌曲文件夹。");
    const QString removedStatus = QStringLiteral(" 从列表中清除无效歌曲 gone.mp3 成功");
    // A double-click deletes the one item it started; the tick removes every
    // item with that text, one box each.
    QTest::newRow("double-click") << Way::DoubleClick << QStringList{gone, t}
                                  << QStringLiteral(
                                         "原目录未发现该歌曲文件，程序会自动将其从播放列表删除。")
                                  << QStringLiteral("提示") << 1
                                  << QStringLiteral("当前播放 /m/a.mp3") << true;
    QTest::newRow("random") << Way::Random << QStringList{t} << removedBox << QStringLiteral("提醒")
                            << 2 << removedStatus << true;
    QTest::newRow("loop after selected") << Way::LoopAfterSelected << QStringList{t} << removedBox
                                         << QStringLiteral("提醒") << 2 << removedStatus << false;
    QTest::newRow("loop none selected") << Way::LoopNothingSelected << QStringList{t} << removedBox
                                        << QStringLiteral("提醒") << 2 << removedStatus << false;
}

void TransportCommandsTest::unresolvedItemInEachWayOfStarting() {
    QFETCH(Way, way);
    QFETCH(QStringList, remaining);
    QFETCH(QString, boxText);
    QFETCH(QString, boxTitle);
    QFETCH(int, boxes);
    QFETCH(QString, status);
    QFETCH(bool, oldStreamFreed);

    TransportHarness h;
    h.f.WriteSongDatabase({QStringLiteral("/m/other.mp3")});
    const QString gone = QStringLiteral("gone.mp3");
    h.list.addItem(gone);
    h.list.addItem(gone);
    h.AddPlayableItems({B});
    // An ended song from before, so that the freeing shows.
    h.f.audio.AddFile(A);
    h.f.state.currentStream = h.f.audio.StreamCreateFile(A);
    h.f.audio.ChannelPlay(h.Current(), false);
    h.EndCurrent();
    h.ui.状态条1->SetPartText(2, QStringLiteral("当前播放 /m/a.mp3"));
    const StreamHandle old = h.Current();
    h.f.audio.calls.clear();

    StartItemZero(h, way);

    QCOMPARE(h.Items(), remaining);
    QCOMPARE(int(h.f.prompts.shown.size()), boxes);
    for (const FakePrompts::Shown& box : h.f.prompts.shown) {
        QCOMPARE(box.text, boxText);
        QCOMPARE(box.title, boxTitle);
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.buttons, BoxButtons::Ok);
    }
    QCOMPARE(h.Status(), status);
    QCOMPARE(h.Selected(), -1);
    QCOMPARE(h.f.state.pathFound, false);
    QCOMPARE(h.CountCalls("StreamCreateFile("), 0);
    QCOMPARE(h.CountCalls("StreamFree(" + std::to_string(old) + ")"), oldStreamFreed ? 1 : 0);
    QCOMPARE(h.f.state.nowPlayingText, TransportHarness::Temporary(B));
}

QTEST_MAIN(TransportCommandsTest)
#include "transport_commands_test.moc"
