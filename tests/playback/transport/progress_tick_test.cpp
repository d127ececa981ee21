// The progress tick: random and loop advance, the other play modes, removing
// songs the store no longer knows, ticks held back behind the transport's
// boxes, and lists that misbehave under the player.

#include <QFile>
#include <QtTest>

#include "tests/playback/transport/transport_harness.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

const QString PAUSE = QStringLiteral("暂 停");
const QString PLAY = QStringLiteral("播 放");

QString T(const char* path) {
    return TransportHarness::Temporary(QString::fromUtf8(path));
}

QStringList Paths(std::initializer_list<const char*> paths) {
    QStringList list;
    for (const char* path : paths) {
        list << QString::fromUtf8(path);
    }
    return list;
}

// The store behind the database items of these tests, and every file that opens.
void AddLibrary(TransportHarness& h) {
    h.f.WriteSongDatabase({QStringLiteral("/db/a.mp3"), QStringLiteral("/db/c.mp3")});
    for (const char* path :
         {"/db/a.mp3", "/db/c.mp3", "/m/a.mp3", "/m/b.mp3", "/m/c.mp3", "/m/t.mp3"}) {
        h.f.audio.AddFile(QString::fromUtf8(path));
    }
}

// A stream of `path` that has played to its end, as the one before a tick.
StreamHandle EndedStream(TransportHarness& h, const QString& path) {
    h.f.state.currentStream = h.f.audio.StreamCreateFile(path);
    h.f.audio.ChannelPlay(h.Current(), false);
    h.EndCurrent();
    return h.Current();
}

}  // namespace

class ProgressTickTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomMode_data();
    void randomMode();
    void loopMode_data();
    void loopMode();
    void randomModeLeavesTheLoopWhereItWas();
    void otherPlayModesOnlyUpdate_data();
    void otherPlayModesOnlyUpdate();
    void emptiedListLetsTheSongPlayOn();
    void removeMissingSong_data();
    void removeMissingSong();
    void ticksHeldBackWhileABoxIsOpen_data();
    void ticksHeldBackWhileABoxIsOpen();
    void filesThatNeverOpenAreTriedOnePerTick_data();
    void filesThatNeverOpenAreTriedOnePerTick();
    void streamFreedUnderThePlayer();
    void autoPlayLetsTheFirstTickPick();
};

void ProgressTickTest::randomMode_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("playing");
    QTest::addColumn<int>("draw");
    QTest::addColumn<int>("selected");  // -1: nothing is drawn
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("pathFound");

    const QStringList three{T("/m/a.mp3"), T("/m/b.mp3"), T("/m/c.mp3")};
    QTest::newRow("starts the drawn item") << three << false << 2 << 2 << "/m/c.mp3"
                                           << "/m/c.mp3" << false;
    QTest::newRow("the first item can be drawn") << three << false << 0 << 0 << "/m/a.mp3"
                                                 << "/m/a.mp3" << false;
    QTest::newRow("one item replays it")
        << QStringList{T("/m/a.mp3")} << false << 0 << 0 << "/m/a.mp3"
        << "/m/a.mp3" << false;
    QTest::newRow("database item shows its title")
        << QStringList{T("/m/b.mp3"), QStringLiteral("c.mp3")} << false << 1 << 1 << "/db/c.mp3"
        << "c" << true;
    QTest::newRow("a playing song is left alone") << three << true << 2 << -1 << "/m/t.mp3"
                                                  << "" << false;
}

void ProgressTickTest::randomMode() {
    QFETCH(QStringList, items);
    QFETCH(bool, playing);
    QFETCH(int, draw);
    QFETCH(int, selected);
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(bool, pathFound);

    TransportHarness h;
    AddLibrary(h);
    h.list.addItems(items);
    h.f.state.playMode = QStringLiteral("0");
    h.f.state.nowPlayingText = QStringLiteral("before");
    const StreamHandle old = EndedStream(h, QStringLiteral("/m/t.mp3"));
    if (playing) {
        h.f.audio.ChannelPlay(old, false);
    }
    h.f.random.draws = {draw};

    h.player.ProgressTick();

    QCOMPARE(h.Selected(), selected);
    QCOMPARE(h.CurrentPath(), path);
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QCOMPARE(h.f.state.nowPlayingText, QStringLiteral("before"));
    QCOMPARE(h.Caption(), PAUSE);
    if (selected < 0) {
        QVERIFY(h.f.random.ranges.empty());
        QCOMPARE(h.Current(), old);
        return;
    }
    QCOMPARE(h.f.random.ranges.size(), std::size_t{1});
    QCOMPARE(h.f.random.ranges.front().first, 0);
    QCOMPARE(h.f.random.ranges.front().second, int(items.size()) - 1);
    QCOMPARE(h.f.audio.Find(old)->freed, true);
    QCOMPARE(h.Label(), title);
    QCOMPARE(h.Status(), QStringLiteral(" 正在播放 ") + title);
    QCOMPARE(h.f.state.pathFound, pathFound);
    QCOMPARE(h.ProgressPeriod(), 0);  // the tick leaves its own timer alone
    QVERIFY(h.f.prompts.shown.empty());
}

void ProgressTickTest::loopMode_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("start");       // started by a double-click; -1: nothing selected
    QTest::addColumn<int>("userSelect");  // selected afterwards without playing; -1: none
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<QStringList>("paths");

    const QString a = T("/m/a.mp3");
    const QString b = T("/m/b.mp3");
    const QStringList abc{a, b, T("/m/c.mp3")};
    // The position is taken from the first item that carries the text played
    // last, so the first A is never reached again.
    QTest::newRow("A B A from the second A")
        << QStringList{a, b, a} << 2 << -1 << QList<int>{1, 2, 1}
        << Paths({"/m/b.mp3", "/m/a.mp3", "/m/b.mp3"});
    QTest::newRow("after the last comes the first")
        << abc << 2 << -1 << QList<int>{0, 1, 2} << Paths({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    QTest::newRow("nothing selected starts item 0")
        << abc << -1 << -1 << QList<int>{0, 1, 2} << Paths({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    QTest::newRow("one item replays it")
        << QStringList{a} << 0 << -1 << QList<int>{0, 0} << Paths({"/m/a.mp3", "/m/a.mp3"});
    QTest::newRow("temporary item among database items")
        << QStringList{QStringLiteral("a.mp3"), T("/m/t.mp3"), QStringLiteral("c.mp3")} << 0 << -1
        << QList<int>{1, 2, 0} << Paths({"/m/t.mp3", "/db/c.mp3", "/db/a.mp3"});
    QTest::newRow("a later selection does not steer it")
        << abc << 0 << 2 << QList<int>{1, 2, 0} << Paths({"/m/b.mp3", "/m/c.mp3", "/m/a.mp3"});
}

void ProgressTickTest::loopMode() {
    QFETCH(QStringList, items);
    QFETCH(int, start);
    QFETCH(int, userSelect);
    QFETCH(QList<int>, order);
    QFETCH(QStringList, paths);

    TransportHarness h;
    AddLibrary(h);
    h.list.addItems(items);
    h.f.state.playMode = QStringLiteral("1");
    if (start >= 0) {
        h.Select(start);
        h.player.PlaySelectedSong();
        h.EndCurrent();
    }
    if (userSelect >= 0) {
        h.Select(userSelect);
    }

    for (int i = 0; i < order.size(); ++i) {
        h.player.ProgressTick();
        QCOMPARE(h.Selected(), order.at(i));
        QCOMPARE(h.CurrentPath(), paths.at(i));
        QCOMPARE(h.f.state.nowPlayingText, items.at(order.at(i)));
        // While it plays, ticks keep the song and its selection.
        const StreamHandle playing = h.Current();
        h.player.ProgressTick();
        QCOMPARE(h.Current(), playing);
        QCOMPARE(h.Selected(), order.at(i));
        QCOMPARE(h.Status(), QStringLiteral(" 正在播放 ") + h.Label());
        h.EndCurrent();
    }
    QVERIFY(h.f.prompts.shown.empty());
    QCOMPARE(h.f.audio.LiveStreamCount(), 1);
}

void ProgressTickTest::randomModeLeavesTheLoopWhereItWas() {
    TransportHarness h;
    h.AddPlayableItems(
        {QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3"), QStringLiteral("/m/c.mp3")});
    h.Select(0);
    h.player.PlaySelectedSong();
    h.EndCurrent();
    h.f.state.playMode = QStringLiteral("0");
    h.f.random.draws = {2};
    h.player.ProgressTick();
    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/c.mp3"));

    h.EndCurrent();
    h.f.state.playMode = QStringLiteral("1");
    h.player.ProgressTick();

    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/b.mp3"));
    QCOMPARE(h.Selected(), 1);
}

void ProgressTickTest::otherPlayModesOnlyUpdate_data() {
    QTest::addColumn<QString>("mode");
    QTest::newRow("2") << "2";
    QTest::newRow("empty") << "";
    QTest::newRow("01") << "01";
    QTest::newRow("1 with a blank") << " 1";
}

void ProgressTickTest::otherPlayModesOnlyUpdate() {
    QFETCH(QString, mode);

    TransportHarness h;
    h.AddPlayableItems({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")});
    h.Select(0);
    h.player.PlaySelectedSong();
    h.f.state.playMode = mode;
    h.f.audio.SetHeardPosition(h.Current(), 3 * BYTES_PER_SLIDER_STEP);
    h.f.audio.ChannelStop(h.Current());
    h.ui.按钮播放暂停->setText(PLAY);
    h.ui.画板1->hide();

    h.player.ProgressTick();

    QCOMPARE(h.slider.value(), 3);
    QCOMPARE(h.Caption(), PAUSE);
    QVERIFY(h.CanvasShown());
    QCOMPARE(h.CountCalls("StreamCreateFile("), 1);
    QVERIFY(h.f.random.ranges.empty());
}

void ProgressTickTest::emptiedListLetsTheSongPlayOn() {
    TransportHarness h;
    h.AddPlayableItems({QStringLiteral("/m/a.mp3")});
    h.Select(0);
    h.player.PlaySelectedSong();
    h.f.state.playMode = QStringLiteral("1");
    const StreamHandle playing = h.Current();

    h.list.clear();
    h.player.ProgressTick();

    QCOMPARE(h.Current(), playing);
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QCOMPARE(h.Caption(), PLAY);
    QVERIFY(!h.CanvasShown());
    // The song ending changes nothing, and the commands stay harmless.
    h.EndCurrent();
    h.player.ProgressTick();
    h.player.PlayNext();
    h.player.PlayPrevious();
    QCOMPARE(h.Current(), playing);
    QCOMPARE(h.CountCalls("StreamCreateFile("), 1);
    QVERIFY(h.f.prompts.shown.empty());
}

void ProgressTickTest::removeMissingSong_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("remaining");
    QTest::addColumn<QString>("selectedAfter");  // "" for none
    QTest::addColumn<QString>("status");

    const QString x = QStringLiteral("x.mp3");
    const QString y = QStringLiteral("y.mp3");
    const QString removed = QStringLiteral(" 从列表中清除无效歌曲 x.mp3 成功");
    QTest::newRow("every equal item, adjacent ones too")
        << QStringList{x, y, x, x} << 1 << QStringList{y} << y << removed;
    QTest::newRow("the selected one goes, nothing selected")
        << QStringList{y, x} << 1 << QStringList{y} << "" << removed;
    QTest::newRow("a temporary item is not its file name")
        << QStringList{T("/m/x.mp3"), x} << 0 << QStringList{T("/m/x.mp3")} << T("/m/x.mp3")
        << removed;
    QTest::newRow("text not in the list") << QStringList{y} << 0 << QStringList{y} << y
                                          << QStringLiteral(" 未找到歌曲 x.mp3 请重新添加");
}

void ProgressTickTest::removeMissingSong() {
    QFETCH(QStringList, items);
    QFETCH(int, selected);
    QFETCH(QStringList, remaining);
    QFETCH(QString, selectedAfter);
    QFETCH(QString, status);

    TransportHarness h;
    h.list.addItems(items);
    h.Select(selected);
    // What the user sees while each box is up.
    QList<int> countsAtBox;
    QStringList statusAtBox;
    h.f.prompts.whileOpen = [&] {
        countsAtBox << h.list.count();
        statusAtBox << h.Status();
    };

    h.player.RemoveMissingSong(QStringLiteral("x.mp3"));

    QCOMPARE(h.Items(), remaining);
    const int boxes = int(items.size() - remaining.size());
    QCOMPARE(int(h.f.prompts.shown.size()), boxes);
    for (int i = 0; i < boxes; ++i) {
        const FakePrompts::Shown& box = h.f.prompts.shown.at(i);
        QCOMPARE(box.text, QStringLiteral(
                               "歌曲数据库中存在无效记录，请手动清空数据库，重新扫描歌曲文件夹。"));
        QCOMPARE(box.title, QStringLiteral("提醒"));
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.buttons, BoxButtons::Ok);
        // One box after each single deletion.
        QCOMPARE(countsAtBox.at(i), int(items.size()) - 1 - i);
        QCOMPARE(statusAtBox.at(i), status);
    }
    QCOMPARE(h.Selected() < 0 ? QString() : h.list.item(h.Selected())->text(), selectedAfter);
    QCOMPARE(h.Status(), status);
}

namespace {

enum class BoxCase { OpenFailure, UnresolvedOnDoubleClick, RemovedByTick };

}  // namespace

Q_DECLARE_METATYPE(BoxCase)

void ProgressTickTest::ticksHeldBackWhileABoxIsOpen_data() {
    QTest::addColumn<BoxCase>("boxCase");
    QTest::addColumn<int>("boxes");
    QTest::newRow("file fails to open on double-click") << BoxCase::OpenFailure << 1;
    QTest::newRow("unresolved item on double-click") << BoxCase::UnresolvedOnDoubleClick << 1;
    QTest::newRow("missing songs removed by a tick") << BoxCase::RemovedByTick << 2;
}

void ProgressTickTest::ticksHeldBackWhileABoxIsOpen() {
    QFETCH(BoxCase, boxCase);
    QFETCH(int, boxes);

    TransportHarness h;
    AddLibrary(h);
    const QString first =
        boxCase == BoxCase::OpenFailure ? T("/m/broken.mp3") : QStringLiteral("gone.mp3");
    h.list.addItems({first, first});
    h.AddPlayableItems({QStringLiteral("/m/b.mp3")});
    h.f.state.playMode = QStringLiteral("1");

    // A tick let through would open a stream, move the selection or touch the list.
    int ticksSeen = 0;
    h.f.prompts.whileOpen = [&] {
        const std::size_t calls = h.f.audio.calls.size();
        const QStringList items = h.Items();
        const int selected = h.Selected();
        h.player.ProgressTick();
        h.player.ProgressTick();
        QCOMPARE(h.f.audio.calls.size(), calls);
        QCOMPARE(h.Items(), items);
        QCOMPARE(h.Selected(), selected);
        ++ticksSeen;
    };
    if (boxCase == BoxCase::RemovedByTick) {
        h.player.ProgressTick();  // nothing selected: item 0, which the store lacks
    } else {
        h.Select(0);
        h.player.PlaySelectedSong();
    }
    QCOMPARE(ticksSeen, boxes);
    QCOMPARE(int(h.f.prompts.shown.size()), boxes);

    // Once the boxes are closed, ticks work again.
    h.f.prompts.whileOpen = nullptr;
    h.list.clear();
    h.AddPlayableItems({QStringLiteral("/m/c.mp3")});
    h.player.ProgressTick();
    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/c.mp3"));
}

void ProgressTickTest::filesThatNeverOpenAreTriedOnePerTick_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<QList<int>>("tried");

    QTest::newRow("loop") << "1" << QList<int>{} << QList<int>{0, 1, 2, 0, 1, 2, 0};
    QTest::newRow("random") << "0" << QList<int>{2, 2, 0, 1, 0, 1, 2}
                            << QList<int>{2, 2, 0, 1, 0, 1, 2};
}

void ProgressTickTest::filesThatNeverOpenAreTriedOnePerTick() {
    QFETCH(QString, mode);
    QFETCH(QList<int>, draws);
    QFETCH(QList<int>, tried);

    TransportHarness h;
    const QStringList paths{QStringLiteral("/gone/0.mp3"), QStringLiteral("/gone/1.mp3"),
                            QStringLiteral("/gone/2.mp3")};
    for (const QString& path : paths) {
        h.list.addItem(TransportHarness::Temporary(path));
    }
    h.f.state.playMode = mode;
    h.f.random.draws.assign(draws.begin(), draws.end());

    std::vector<std::string> expected;
    for (const int index : tried) {
        h.player.ProgressTick();
        QCOMPARE(h.Label(), paths.at(index));
        expected.push_back("StreamCreateFile(" + paths.at(index).toStdString() + ")");
    }

    std::vector<std::string> opened;
    std::copy_if(h.f.audio.calls.begin(), h.f.audio.calls.end(), std::back_inserter(opened),
                 [](const std::string& call) { return call.rfind("StreamCreateFile(", 0) == 0; });
    QVERIFY(opened == expected);
    QVERIFY(h.f.prompts.shown.empty());
    QCOMPARE(h.list.count(), 3);
    QCOMPARE(h.Caption(), PAUSE);
}

void ProgressTickTest::streamFreedUnderThePlayer() {
    TransportHarness h;
    h.AddPlayableItems({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")});
    h.f.state.playMode = QStringLiteral("1");
    h.Select(0);
    h.player.PlaySelectedSong();
    h.f.audio.StreamFree(h.Current());

    // Every command on the freed handle does nothing harmful.
    h.player.SeekToSliderPosition();
    h.player.TogglePlayPause();  // neither playing nor paused: starts the selection anew
    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/a.mp3"));
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    h.f.audio.StreamFree(h.Current());
    h.player.StopPlayback();
    QCOMPARE(h.Caption(), PLAY);

    // The tick takes a freed stream for an ended one and moves on.
    h.player.TogglePlayPause();
    h.f.audio.StreamFree(h.Current());
    h.player.ProgressTick();
    QCOMPARE(h.slider.value(), 1);
    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/b.mp3"));
    QCOMPARE(h.Activity(), ACTIVE_PLAYING);
    QVERIFY(h.f.prompts.shown.empty());
}

void ProgressTickTest::autoPlayLetsTheFirstTickPick() {
    TransportHarness h;
    QFile config(h.f.dir.FilePath(QStringLiteral("config.ini")));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("[mode]\r\npmd=1\r\n[autorun]\r\npar=1\r\n");
    config.close();

    h.f.Start();
    QCOMPARE(h.ProgressPeriod(), 1000);

    h.AddPlayableItems({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")});
    h.player.ProgressTick();
    QCOMPARE(h.CurrentPath(), QStringLiteral("/m/a.mp3"));
    QCOMPARE(h.Selected(), 0);
    QCOMPARE(h.Caption(), PAUSE);
}

QTEST_MAIN(ProgressTickTest)
#include "progress_tick_test.moc"
