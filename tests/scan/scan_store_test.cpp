#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include "tests/scan/folder_tree.h"
#include "tests/scan/scan_fixture.h"

using tunvell::BoxAnswer;
using tunvell::BoxButtons;
using tunvell::BoxIcon;
using tunvell::ScanWindow;
using tunvell::testing::FolderTree;
using tunvell::testing::ScanFixture;

namespace {

using Step = std::pair<int, QString>;  // a wait's length and the message shown during it

const QString COUNTDOWN_5 = QStringLiteral("本窗口5秒后自动关闭");

QList<Step> Countdown(int imported) {
    return {{500, QStringLiteral("导入数据库完成，导入歌曲%1首").arg(imported)},
            {1000, COUNTDOWN_5},
            {1000, QStringLiteral("本窗口4秒后自动关闭")},
            {1000, QStringLiteral("本窗口3秒后自动关闭")},
            {1000, QStringLiteral("本窗口2秒后自动关闭")},
            {1000, QStringLiteral("本窗口1秒后自动关闭")}};
}

// Records each wait of the window with the message it shows meanwhile.
void RecordSteps(ScanFixture& f, QList<Step>& steps) {
    f.waits.duringWait = [&f, &steps](int index) {
        steps.append({f.waits.waits[static_cast<size_t>(index)], f.Message()});
    };
}

QByteArray ReadBytes(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// A second connection to the store, as another program would hold it.
class OtherConnection {
public:
    explicit OtherConnection(const QString& file) {
        sqlite3_open(QFile::encodeName(file).constData(), &db_);
    }
    ~OtherConnection() { sqlite3_close(db_); }
    OtherConnection(const OtherConnection&) = delete;
    OtherConnection& operator=(const OtherConnection&) = delete;

    bool Execute(const char* sql) {
        return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }

private:
    sqlite3* db_ = nullptr;
};

enum class StoreBefore { Missing, WithOneSong };

}  // namespace

Q_DECLARE_METATYPE(StoreBefore)

class ScanStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void importStoresTheMp3FilesCountsDownAndCloses_data() {
        QTest::addColumn<StoreBefore>("before");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("scans");
        const QStringList mixed{QStringLiteral("a.mp3"), QStringLiteral("b.MP3"),
                                QStringLiteral("c.mp3.txt"), QStringLiteral("sub/d.mp3")};
        QTest::newRow("into a store") << StoreBefore::WithOneSong << mixed << 1;
        QTest::newRow("missing store is created") << StoreBefore::Missing << mixed << 1;
        QTest::newRow("scanned twice, stored twice") << StoreBefore::WithOneSong << mixed << 2;
        QTest::newRow("nothing to import") << StoreBefore::WithOneSong << QStringList() << 1;
        QTest::newRow("nothing, missing store is created")
            << StoreBefore::Missing << QStringList() << 1;
    }
    void importStoresTheMp3FilesCountsDownAndCloses() {
        QFETCH(StoreBefore, before);
        QFETCH(QStringList, files);
        QFETCH(int, scans);
        const FolderTree tree(files);
        ScanFixture f;
        QStringList expected;
        if (before == StoreBefore::WithOneSong) {
            f.main.WriteSongDatabase({QStringLiteral("/old/song.mp3")});
            expected.append(QStringLiteral("/old/song.mp3"));
        }
        f.main.AddListItems({QStringLiteral("song.mp3")});
        for (int scan = 0; scan < scans; ++scan) {
            f.ScanFolder(tree.Root());
        }
        const QStringList songs =
            f.ScanList().filter(QRegularExpression(QStringLiteral("\\.mp3$")));
        QCOMPARE(songs.size(), files.isEmpty() ? 0 : 2 * scans);
        expected += songs;
        QList<Step> steps;
        RecordSteps(f, steps);

        f.Ui().按钮导入->click();

        QCOMPARE(f.StoredPaths(), expected);
        QCOMPARE(steps, Countdown(static_cast<int>(songs.size())));
        QVERIFY(f.window->IsClosed());
        QCOMPARE(f.window->result(), int(QDialog::Accepted));
        QCOMPARE(f.MainList(), QStringList{QStringLiteral("song.mp3")});
        QVERIFY(f.main.prompts.shown.empty());
    }

    void anUnusableStoreIsRefusedAndLeftAlone_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << QByteArray("these are not the songs\n") << "file";
        QTest::newRow("empty file") << QByteArray() << "file";
        QTest::newRow("a folder") << QByteArray() << "folder";
        QTest::newRow("a dangling link") << QByteArray() << "link";
    }
    void anUnusableStoreIsRefusedAndLeftAlone() {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        const FolderTree tree({QStringLiteral("a.mp3")});
        ScanFixture f;
        const QString store = f.StoreFile();
        if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir().mkdir(store));
        } else if (kind == QStringLiteral("link")) {
            QVERIFY(QFile::link(f.main.dir.FilePath(QStringLiteral("gone.edb")), store));
        } else {
            QFile out(store);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        f.ScanFolder(tree.Root());

        f.Ui().按钮导入->click();

        QCOMPARE(f.main.prompts.shown.size(), size_t(1));
        const auto& box = f.main.prompts.shown.front();
        QCOMPARE(box.title, QStringLiteral("提示"));
        QVERIFY2(box.text.contains(store), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("没有导入任何歌曲")), qPrintable(box.text));
        QCOMPARE(box.buttons, BoxButtons::Ok);
        QVERIFY(f.waits.waits.empty());
        QVERIFY(!f.window->IsClosed());
        QCOMPARE(f.Message(), tree.Path(QStringLiteral("a.mp3")));
        if (kind == QStringLiteral("file")) {
            QCOMPARE(ReadBytes(store), content);
        }
        QVERIFY(!QFileInfo::exists(f.main.dir.FilePath(QStringLiteral("gone.edb"))));
    }

    void closingOrDestroyingTheWindowStopsTheCountdown_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("closed") << false;
        QTest::newRow("destroyed") << true;
    }
    void closingOrDestroyingTheWindowStopsTheCountdown() {
        QFETCH(bool, destroy);
        const FolderTree tree({QStringLiteral("a.mp3")});
        ScanFixture f;
        f.ScanFolder(tree.Root());
        QList<Step> steps;
        f.waits.duringWait = [&](int index) {
            steps.append({f.waits.waits[static_cast<size_t>(index)], f.Message()});
            if (index == 1) {
                if (destroy) {
                    f.window.reset();
                } else {
                    f.window->reject();
                }
            }
        };
        ScanWindow* window = f.window.get();
        window->ImportScanList();
        QCOMPARE(steps, Countdown(1).mid(0, 2));
        QCOMPARE(f.StoredPaths(), QStringList{tree.Path(QStringLiteral("a.mp3"))});
        if (!destroy) {
            QCOMPARE(f.window->result(), int(QDialog::Rejected));
            QCOMPARE(f.Message(), COUNTDOWN_5);
        }
    }

    void clearingAsksWithTheCountAfterStopping_data() {
        QTest::addColumn<BoxAnswer>("answer");
        QTest::newRow("yes") << BoxAnswer::Yes;
        QTest::newRow("no") << BoxAnswer::No;
    }
    void clearingAsksWithTheCountAfterStopping() {
        QFETCH(BoxAnswer, answer);
        ScanFixture f;
        const QStringList songs{QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3"),
                                QStringLiteral("/m/c.mp3")};
        f.main.WriteSongDatabase(songs);
        const QStringList listed{QStringLiteral("a.mp3"), QStringLiteral("临时 /t/x.mp3")};
        f.main.AddListItems(listed);
        f.main.Window().时钟1.SetPeriod(1000);
        f.main.Window().绘制时钟.SetPeriod(30);
        f.main.prompts.answers.push_back(answer);
        int progressPeriodWhileAsking = -1;
        f.main.prompts.whileOpen = [&] {
            progressPeriodWhileAsking = f.main.Window().时钟1.Period();
        };

        f.Ui().按钮清数->click();

        QCOMPARE(progressPeriodWhileAsking, 0);
        QCOMPARE(f.main.Window().绘制时钟.Period(), 0);
        QCOMPARE(f.main.prompts.shown.size(), size_t(1));
        const auto& box = f.main.prompts.shown.front();
        QCOMPARE(box.text, QStringLiteral("当前音乐数据库共有歌曲 3 首，您是否要全部清空？"));
        QCOMPARE(box.title, QStringLiteral("提醒"));
        QCOMPARE(box.icon, BoxIcon::None);
        QCOMPARE(box.buttons, BoxButtons::YesNo);
        const bool yes = answer == BoxAnswer::Yes;
        QCOMPARE(f.StoredPaths(), yes ? QStringList() : songs);
        QCOMPARE(f.MainList(), yes ? QStringList() : listed);
        QCOMPARE(f.Message(), yes ? QStringLiteral("已经清空歌曲数据库") : QString());
        QVERIFY(f.waits.waits.empty());
    }

    void clearingAStoreHeldElsewhereGivesUp_data() {
        QTest::addColumn<QByteArray>("lock");
        QTest::addColumn<int>("releaseAtWait");  // -1: held throughout
        QTest::addColumn<int>("closeAtWait");    // -1: the window stays open
        QTest::newRow("write lock held") << QByteArray("BEGIN IMMEDIATE") << -1 << -1;
        QTest::newRow("exclusive lock held") << QByteArray("BEGIN EXCLUSIVE") << -1 << -1;
        QTest::newRow("released while waiting") << QByteArray("BEGIN IMMEDIATE") << 3 << -1;
        QTest::newRow("window closed while waiting") << QByteArray("BEGIN IMMEDIATE") << -1 << 3;
    }
    void clearingAStoreHeldElsewhereGivesUp() {
        QFETCH(QByteArray, lock);
        QFETCH(int, releaseAtWait);
        QFETCH(int, closeAtWait);
        ScanFixture f;
        const QStringList songs{QStringLiteral("/m/a.mp3"), QStringLiteral("/m/b.mp3")};
        f.main.WriteSongDatabase(songs);
        f.main.AddListItems({QStringLiteral("a.mp3")});
        OtherConnection other(f.StoreFile());
        // Taken while the question is shown, after the store was opened and counted.
        f.main.prompts.whileOpen = [&] {
            QVERIFY(other.Execute(lock.constData()));
            QVERIFY(other.Execute("INSERT INTO songs (path) VALUES ('/m/held.mp3')"));
        };
        f.waits.duringWait = [&](int index) {
            if (index == releaseAtWait) {
                QVERIFY(other.Execute("ROLLBACK"));
            }
            if (index == closeAtWait) {
                f.window->reject();
            }
        };

        f.Ui().按钮清数->click();

        if (releaseAtWait >= 0) {
            QCOMPARE(f.waits.waits.size(), size_t(releaseAtWait + 1));
            QCOMPARE(f.Message(), QStringLiteral("已经清空歌曲数据库"));
            QCOMPARE(f.StoredPaths(), QStringList());
            QVERIFY(f.MainList().isEmpty());
            return;
        }
        if (closeAtWait >= 0) {
            QCOMPARE(f.waits.waits.size(), size_t(closeAtWait + 1));
            QCOMPARE(f.Message(), QString());
        } else {
            const std::vector<int> everyStep(
                ScanWindow::CLEAR_RETRY_LIMIT_MS / ScanWindow::CLEAR_RETRY_STEP_MS,
                ScanWindow::CLEAR_RETRY_STEP_MS);
            QCOMPARE(f.waits.waits, everyStep);
            QCOMPARE(f.Message(), QStringLiteral("数据库正被其他程序使用，未能清空"));
        }
        QCOMPARE(f.MainList(), QStringList{QStringLiteral("a.mp3")});
        QVERIFY(other.Execute("ROLLBACK"));
        QCOMPARE(f.StoredPaths(), songs);
    }

    void clearingWithoutAUsableStore_data() {
        QTest::addColumn<bool>("garbage");
        QTest::newRow("no store") << false;
        QTest::newRow("not a store") << true;
    }
    void clearingWithoutAUsableStore() {
        QFETCH(bool, garbage);
        ScanFixture f;
        const QByteArray content("not a database at all");
        if (garbage) {
            QFile out(f.StoreFile());
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(content);
        }
        f.main.AddListItems({QStringLiteral("临时 /t/x.mp3")});

        f.Ui().按钮清数->click();

        QCOMPARE(f.main.prompts.shown.size(), size_t(1));
        QCOMPARE(f.main.prompts.shown.front().text,
                 QStringLiteral("当前音乐数据库共有歌曲 0 首，您是否要全部清空？"));
        if (garbage) {
            QCOMPARE(f.Message(), QStringLiteral("歌曲数据库无法打开，未能清空"));
            QCOMPARE(ReadBytes(f.StoreFile()), content);
            QCOMPARE(f.MainList(), QStringList{QStringLiteral("临时 /t/x.mp3")});
        } else {
            // Nothing to clear and nothing retried; the list goes as after any clearing.
            QVERIFY(f.waits.waits.empty());
            QCOMPARE(f.Message(), QStringLiteral("已经清空歌曲数据库"));
            QVERIFY(!QFileInfo::exists(f.StoreFile()));
            QVERIFY(f.MainList().isEmpty());
        }
    }
};

QTEST_MAIN(ScanStoreTest)
#include "scan_store_test.moc"
