#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include "app/core/part_status_bar.h"
#include "tests/fakes/main_window_fixture.h"

using namespace tunvell;
using namespace tunvell::testing;

// The song list's operations as the user reaches them: start-up, the refresh
// button and the add button of the main window.
class LibraryWiringTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startUpRefreshAndAddReachTheSongList();
};

namespace {

QStringList Items(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts.append(list.item(i)->text());
    }
    return texts;
}

}  // namespace

void LibraryWiringTest::startUpRefreshAndAddReachTheSongList() {
    MainWindowFixture fixture;
    fixture.WriteSongDatabase({QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")});
    fixture.Start();
    QListWidget& songs = *fixture.Controls().列表框歌曲;
    QCOMPARE(Items(songs), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3")}));
    QCOMPARE(fixture.Controls().状态条1->PartText(1), QStringLiteral("歌曲：2 首"));

    fixture.prompts.files.push_back(QStringLiteral("/t/c.mp3"));
    fixture.Controls().图形按钮添加->click();
    QCOMPARE(Items(songs), (QStringList{QStringLiteral("a.mp3"), QStringLiteral("b.mp3"),
                                        QStringLiteral("临时 /t/c.mp3")}));

    fixture.WriteSongDatabase({QStringLiteral("/m/d.mp3")});
    fixture.Controls().状态条1->SetPartText(2, QString());
    fixture.Controls().图形按钮刷新->click();
    QCOMPARE(Items(songs), QStringList{QStringLiteral("d.mp3")});
    QCOMPARE(fixture.Controls().状态条1->PartText(1), QStringLiteral("歌曲：1 首"));
    QCOMPARE(fixture.Controls().状态条1->PartText(2), QStringLiteral("已经更新播放列表"));
}

QTEST_MAIN(LibraryWiringTest)
#include "test_library_wiring.moc"
