#include <QTest>

#include "library/item_text.h"

using namespace tunvell;

class ItemTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void itemRules_data();
    void itemRules();
    void fileNameOfPath_data();
    void fileNameOfPath();
};

void ItemTextTest::itemRules_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("temporary");
    QTest::addColumn<QString>("temporaryPath");
    QTest::addColumn<QString>("title");

    QTest::newRow("database song")
        << QStringLiteral("a.mp3") << false << QString() << QStringLiteral("a");
    QTest::newRow("database song, Chinese")
        << QStringLiteral("晴天.mp3") << false << QString() << QStringLiteral("晴天");
    QTest::newRow("database song of the extension only")
        << QStringLiteral(".mp3") << false << QString() << QString();
    QTest::newRow("database song shorter than the extension")
        << QStringLiteral("abc") << false << QString() << QString();
    QTest::newRow("empty") << QString() << false << QString() << QString();
    QTest::newRow("title drops four characters whatever they are")
        << QStringLiteral("song.ogg") << false << QString() << QStringLiteral("song");
    QTest::newRow("temporary song")
        << QStringLiteral("临时 /music/a.mp3") << true << QStringLiteral("/music/a.mp3")
        << QStringLiteral("/music/a.mp3");
    QTest::newRow("prefix alone") << QStringLiteral("临时 ") << true << QString() << QString();
    QTest::newRow("file name that begins like the prefix counts as temporary")
        << QStringLiteral("临时 歌.mp3") << true << QStringLiteral("歌.mp3")
        << QStringLiteral("歌.mp3");
    QTest::newRow("prefix without its space")
        << QStringLiteral("临时歌.mp3") << false << QString() << QStringLiteral("临时歌");
    QTest::newRow("prefix not at the start")
        << QStringLiteral("x临时 a.mp3") << false << QString() << QStringLiteral("x临时 a");
}

void ItemTextTest::itemRules() {
    QFETCH(QString, item);
    QFETCH(bool, temporary);
    QFETCH(QString, temporaryPath);
    QFETCH(QString, title);
    QCOMPARE(IsTemporaryItem(item), temporary);
    if (temporary) {
        QCOMPARE(TemporaryItemPath(item), temporaryPath);
    }
    QCOMPARE(SongTitle(item), title);
}

void ItemTextTest::fileNameOfPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("full path") << QStringLiteral("/music/a.mp3") << QStringLiteral("a.mp3");
    QTest::newRow("no separator") << QStringLiteral("a.mp3") << QStringLiteral("a.mp3");
    QTest::newRow("final separator names the folder")
        << QStringLiteral("/music/") << QStringLiteral("music");
    QTest::newRow("only one final separator is dropped") << QStringLiteral("/music//") << QString();
    QTest::newRow("root") << QStringLiteral("/") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("Chinese") << QStringLiteral("/音乐/歌手/晴天.mp3") << QStringLiteral("晴天.mp3");
    QTest::newRow("backslash is an ordinary character here")
        << QStringLiteral("/m/D:\\music\\a.mp3") << QStringLiteral("D:\\music\\a.mp3");
    QTest::newRow("spaces and quotes")
        << QStringLiteral("/m/it's \"x\" .mp3") << QStringLiteral("it's \"x\" .mp3");
}

void ItemTextTest::fileNameOfPath() {
    QFETCH(QString, path);
    QFETCH(QString, fileName);
    QCOMPARE(FileNameOfPath(path), fileName);
}

QTEST_APPLESS_MAIN(ItemTextTest)
#include "test_item_text.moc"
