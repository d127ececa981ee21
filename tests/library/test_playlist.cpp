#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/core/part_status_bar.h"
#include "library/item_text.h"
#include "library/playlist.h"
#include "library/song_database.h"
#include "tests/fakes/fake_prompts.h"
#include "tests/fakes/temp_program_dir.h"
#include "tests/library/store_files.h"

using namespace tunvell;
using namespace tunvell::testing;

namespace {

enum class Store { Missing, Garbage, Present };

const QString LONG_PATH =
    QStringLiteral("/") + QString(3995, QLatin1Char('d')) + QStringLiteral(".mp3");

QStringList Items(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) {
        texts.append(list.item(i)->text());
    }
    return texts;
}

void PrepareStore(const QString& file, Store store, const QStringList& records) {
    QFile::remove(file);
    if (store == Store::Garbage) {
        QVERIFY(WriteBytes(file, "D:\\music\\a.mp3\r\n"));
    } else if (store == Store::Present) {
        QVERIFY(WriteStore(file, records));
    }
}

}  // namespace

class PlaylistTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void refreshListsEveryRecordByFileName_data();
    void refreshListsEveryRecordByFileName();
    void lookupFindsTheFirstRecordOfThatFileName_data();
    void lookupFindsTheFirstRecordOfThatFileName();
    void everyOperationUsesTheStoreOfTheCurrentDirectory();
    void findListItem_data();
    void findListItem();
    void addTemporarySong_data();
    void addTemporarySong();

private:
    std::unique_ptr<TempProgramDir> dir_;
    std::unique_ptr<QListWidget> list_;
    std::unique_ptr<PartStatusBar> statusBar_;
};

void PlaylistTest::init() {
    // The old directory goes first: it puts back the current directory it found.
    statusBar_.reset();
    list_.reset();
    dir_.reset();
    dir_ = std::make_unique<TempProgramDir>();
    list_ = std::make_unique<QListWidget>();
    statusBar_ = std::make_unique<PartStatusBar>();
    statusBar_->SetPartWidths({118, 80, 320});
}

void PlaylistTest::refreshListsEveryRecordByFileName_data() {
    QTest::addColumn<Store>("store");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("two songs of one name")
        << Store::Present << QStringList{QStringLiteral("/a/x.mp3"), QStringLiteral("/b/x.mp3")}
        << QStringList() << QStringList{QStringLiteral("x.mp3"), QStringLiteral("x.mp3")};
    QTest::newRow("store without records")
        << Store::Present << QStringList() << QStringList() << QStringList();
    QTest::newRow("no store") << Store::Missing << QStringList()
                              << QStringList{QStringLiteral("old.mp3")} << QStringList();
    QTest::newRow("not a store") << Store::Garbage << QStringList() << QStringList()
                                 << QStringList();
    QTest::newRow("temporary songs go, stored order stays")
        << Store::Present
        << QStringList{QStringLiteral("/m/c.mp3"), QStringLiteral("/m/a.mp3"),
                       QStringLiteral("/m/b.mp3")}
        << QStringList{QStringLiteral("c.mp3"), QStringLiteral("临时 /t/y.mp3")}
        << QStringList{QStringLiteral("c.mp3"), QStringLiteral("a.mp3"), QStringLiteral("b.mp3")};
    QTest::newRow("awkward paths, one item each")
        << Store::Present
        << QStringList{QString(),
                       QStringLiteral("/music/"),
                       QStringLiteral("/音乐/晴天.mp3"),
                       QStringLiteral("/m/it's \"q\".mp3"),
                       QStringLiteral("/m/100%s.mp3"),
                       QStringLiteral("/m/two\nlines.mp3"),
                       LONG_PATH}
        << QStringList()
        << QStringList{QString(),
                       QStringLiteral("music"),
                       QStringLiteral("晴天.mp3"),
                       QStringLiteral("it's \"q\".mp3"),
                       QStringLiteral("100%s.mp3"),
                       QStringLiteral("two\nlines.mp3"),
                       LONG_PATH.mid(1)};
}

void PlaylistTest::refreshListsEveryRecordByFileName() {
    QFETCH(Store, store);
    QFETCH(QStringList, records);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    const QString file = dir_->FilePath(SONG_DATABASE_NAME);
    PrepareStore(file, store, records);
    const QByteArray storeBytes = ReadBytes(file);
    list_->addItems(before);
    if (!before.isEmpty()) {
        list_->setCurrentRow(before.size() - 1);
    }

    RefreshPlaylist(*list_, *statusBar_);

    QCOMPARE(Items(*list_), after);
    QCOMPARE(statusBar_->PartText(1), QStringLiteral("歌曲：%1 首").arg(after.size()));
    QCOMPARE(statusBar_->PartText(2), QStringLiteral("已经更新播放列表"));
    QCOMPARE(list_->currentRow(), -1);
    QVERIFY(list_->selectedItems().isEmpty());
    QCOMPARE(ReadBytes(file), storeBytes);
}

void PlaylistTest::lookupFindsTheFirstRecordOfThatFileName_data() {
    QTest::addColumn<Store>("store");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("path");

    const auto present = [](const char* name, const QStringList& records, const QString& text,
                            const QString& path) {
        QTest::newRow(name) << Store::Present << records << text << path;
    };
    const QString a = QStringLiteral("a.mp3");
    present("two songs of one name: the first wins",
            {QStringLiteral("/d/x.mp3"), QStringLiteral("/e/x.mp3")}, QStringLiteral("x.mp3"),
            QStringLiteral("/d/x.mp3"));
    present("a name that only contains the text is passed over",
            {QStringLiteral("/music/ba.mp3"), QStringLiteral("/music/a.mp3")}, a,
            QStringLiteral("/music/a.mp3"));
    present("containing is not enough", {QStringLiteral("/music/ba.mp3")}, a, QString());
    present("a folder of that name is not the file", {QStringLiteral("/a.mp3/b.mp3")}, a,
            QString());
    present("a longer name that starts with the text", {QStringLiteral("/m/a.mp3.part")}, a,
            QString());
    present("letter case counts", {QStringLiteral("/music/a.mp3")}, QStringLiteral("A.mp3"),
            QString());
    present("the empty text matches nothing",
            {QString(), QStringLiteral("/"), QStringLiteral("/music/a.mp3")}, QString(), QString());
    present("a text with a separator is no file name", {QStringLiteral("/music/a.mp3")},
            QStringLiteral("music/a.mp3"), QString());
    present("a record naming a folder", {QStringLiteral("/m/x.mp3"), QStringLiteral("/music/")},
            QStringLiteral("music"), QStringLiteral("/music/"));
    present("no wildcards", {QStringLiteral("/m/abc.mp3")}, QStringLiteral("a_c.mp3"), QString());
    present("no pattern characters", {QStringLiteral("/m/abc.mp3")}, QStringLiteral("%.mp3"),
            QString());
    present("Chinese", {QStringLiteral("/音乐/晴天.mp3")}, QStringLiteral("晴天.mp3"),
            QStringLiteral("/音乐/晴天.mp3"));
    present("quotes", {QStringLiteral("/m/it's \"q\".mp3")}, QStringLiteral("it's \"q\".mp3"),
            QStringLiteral("/m/it's \"q\".mp3"));
    present("percent", {QStringLiteral("/m/100%s.mp3")}, QStringLiteral("100%s.mp3"),
            QStringLiteral("/m/100%s.mp3"));
    present("line breaks", {QStringLiteral("/m/two\r\nlines.mp3")},
            QStringLiteral("two\r\nlines.mp3"), QStringLiteral("/m/two\r\nlines.mp3"));
    present("4000 bytes", {QStringLiteral("/m/x.mp3"), LONG_PATH}, LONG_PATH.mid(1), LONG_PATH);
    present("store without records", {}, a, QString());
    QTest::newRow("no store") << Store::Missing << QStringList() << a << QString();
    QTest::newRow("not a store") << Store::Garbage << QStringList() << a << QString();
}

void PlaylistTest::lookupFindsTheFirstRecordOfThatFileName() {
    QFETCH(Store, store);
    QFETCH(QStringList, records);
    QFETCH(QString, text);
    QFETCH(QString, path);
    PrepareStore(dir_->FilePath(SONG_DATABASE_NAME), store, records);
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, text), path);
}

void PlaylistTest::everyOperationUsesTheStoreOfTheCurrentDirectory() {
    QTemporaryDir other;
    QTemporaryDir empty;
    QVERIFY(WriteStore(dir_->FilePath(SONG_DATABASE_NAME), {QStringLiteral("/a/x.mp3")}));
    QVERIFY(WriteStore(other.filePath(SONG_DATABASE_NAME), {QStringLiteral("/b/y.mp3")}));
    const QString x = QStringLiteral("x.mp3");
    const QString y = QStringLiteral("y.mp3");

    RefreshPlaylist(*list_, *statusBar_);
    QCOMPARE(Items(*list_), QStringList{x});
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, x), QStringLiteral("/a/x.mp3"));

    // Nothing is cached: another program's record shows at the next call.
    QVERIFY(ExecuteOn(dir_->FilePath(SONG_DATABASE_NAME), "INSERT INTO songs VALUES ('/c/z.mp3')"));
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, QStringLiteral("z.mp3")),
             QStringLiteral("/c/z.mp3"));

    QVERIFY(QDir::setCurrent(other.path()));
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, x), QString());
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, y), QStringLiteral("/b/y.mp3"));
    RefreshPlaylist(*list_, *statusBar_);
    QCOMPARE(Items(*list_), QStringList{y});

    QVERIFY(QDir::setCurrent(empty.path()));
    QCOMPARE(LookupSongPath(SONG_DATABASE_NAME, y), QString());
    RefreshPlaylist(*list_, *statusBar_);
    QCOMPARE(list_->count(), 0);
    QCOMPARE(statusBar_->PartText(1), QStringLiteral("歌曲：0 首"));
    QVERIFY(!QFileInfo::exists(empty.filePath(SONG_DATABASE_NAME)));

    QVERIFY(QDir::setCurrent(dir_->Path()));
}

void PlaylistTest::findListItem_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");

    const QString temporary = QStringLiteral("临时 /m/a.mp3");
    QTest::newRow("empty list") << QStringList() << QStringLiteral("a.mp3") << -1;
    QTest::newRow("two items of one text: the first")
        << QStringList{QStringLiteral("b.mp3"), QStringLiteral("a.mp3"), QStringLiteral("a.mp3")}
        << QStringLiteral("a.mp3") << 1;
    QTest::newRow("letter case counts")
        << QStringList{QStringLiteral("A.mp3")} << QStringLiteral("a.mp3") << -1;
    QTest::newRow("temporary item by its file name")
        << QStringList{temporary} << QStringLiteral("a.mp3") << -1;
    QTest::newRow("temporary item by its path")
        << QStringList{temporary} << QStringLiteral("/m/a.mp3") << -1;
    QTest::newRow("temporary item by its whole text")
        << QStringList{QStringLiteral("a.mp3"), temporary} << temporary << 1;
    QTest::newRow("empty text finds an empty item")
        << QStringList{QStringLiteral("a.mp3"), QString()} << QString() << 1;
}

void PlaylistTest::findListItem() {
    QFETCH(QStringList, items);
    QFETCH(QString, text);
    QFETCH(int, index);
    list_->addItems(items);
    QCOMPARE(FindListItem(*list_, text), index);
}

void PlaylistTest::addTemporarySong_data() {
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("after");

    const QString onlyMp3 = QStringLiteral("只能添加Mp3格式的音乐文件。");
    const QString exists = QStringLiteral("该歌曲已经存在，无须重复添加。");
    const QStringList two{QStringLiteral("b.mp3"), QStringLiteral("c.mp3")};

    QTest::newRow("cancelled") << two << true << QString() << QString() << two;
    QTest::newRow("appended as the last item")
        << two << false << QStringLiteral("/x/a.mp3") << QString()
        << (two + QStringList{QStringLiteral("临时 /x/a.mp3")});
    QTest::newRow("capital extension")
        << two << false << QStringLiteral("/x/song.MP3") << onlyMp3 << two;
    QTest::newRow("no extension") << two << false << QStringLiteral("/x/song") << onlyMp3 << two;
    QTest::newRow("other extension after .mp3")
        << two << false << QStringLiteral("/x/a.mp3.wav") << onlyMp3 << two;
    QTest::newRow("database song of that name from another folder")
        << two << false << QStringLiteral("/other/b.mp3") << exists << two;
    QTest::newRow("database song whose name differs in case")
        << QStringList{QStringLiteral("A.mp3")} << false << QStringLiteral("/x/a.mp3") << QString()
        << QStringList{QStringLiteral("A.mp3"), QStringLiteral("临时 /x/a.mp3")};
    QTest::newRow("the same file again")
        << QStringList{QStringLiteral("临时 /x/a.mp3")} << false << QStringLiteral("/x/a.mp3")
        << QString()
        << QStringList{QStringLiteral("临时 /x/a.mp3"), QStringLiteral("临时 /x/a.mp3")};
    QTest::newRow("Chinese path into an empty list")
        << QStringList() << false << QStringLiteral("/音乐/晴天.mp3") << QString()
        << QStringList{QStringLiteral("临时 /音乐/晴天.mp3")};
}

void PlaylistTest::addTemporarySong() {
    QFETCH(QStringList, items);
    QFETCH(bool, cancelled);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    QFETCH(QStringList, after);
    list_->addItems(items);
    const int current = items.isEmpty() ? -1 : 0;
    list_->setCurrentRow(current);
    FakePrompts prompts;
    prompts.files.push_back(cancelled ? std::nullopt : std::optional<QString>(chosen));

    AddTemporarySong(*list_, prompts);

    QCOMPARE(prompts.fileDialogs, 1);
    QCOMPARE(Items(*list_), after);
    QCOMPARE(list_->currentRow(), current);
    QCOMPARE(list_->selectedItems().size(), current == -1 ? 0 : 1);
    if (message.isEmpty()) {
        QVERIFY(prompts.shown.empty());
    } else {
        QCOMPARE(prompts.shown.size(), std::size_t{1});
        QCOMPARE(prompts.shown[0].text, message);
        QCOMPARE(prompts.shown[0].title, QStringLiteral("提示"));
        QCOMPARE(prompts.shown[0].icon, BoxIcon::None);
        QCOMPARE(prompts.shown[0].buttons, BoxButtons::Ok);
    }
    QVERIFY(!QFileInfo::exists(dir_->FilePath(SONG_DATABASE_NAME)));
}

QTEST_MAIN(PlaylistTest)
#include "test_playlist.moc"
