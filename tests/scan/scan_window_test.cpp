#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/scan/folder_tree.h"
#include "tests/scan/scan_fixture.h"

using tunvell::ScanWindow;
using tunvell::testing::FolderTree;
using tunvell::testing::ScanFixture;

namespace {

// Runs `action` at the n-th pause of a scan: events posted while the pending
// ones are delivered wait for the next pause.
void RunAtPause(int n, std::function<void()> action) {
    QMetaObject::invokeMethod(
        qApp,
        [n, action = std::move(action)]() mutable {
            if (n <= 1) {
                action();
            } else {
                RunAtPause(n - 1, std::move(action));
            }
        },
        Qt::QueuedConnection);
}

}  // namespace

class ScanWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void layoutHasTheControlsInPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("text");
        QTest::newRow("编辑框1") << QStringLiteral("编辑框1") << QRect(8, 14, 216, 20) << QString();
        QTest::newRow("列表框1") << QStringLiteral("列表框1") << QRect(8, 44, 216, 167)
                                 << QString();
        QTest::newRow("按钮浏览") << QStringLiteral("按钮浏览") << QRect(234, 14, 80, 32)
                                  << QStringLiteral("浏  览");
        QTest::newRow("按钮扫描") << QStringLiteral("按钮扫描") << QRect(234, 54, 80, 32)
                                  << QStringLiteral("扫描文件夹");
        QTest::newRow("按钮导入") << QStringLiteral("按钮导入") << QRect(234, 94, 80, 32)
                                  << QStringLiteral("导入数据库");
        QTest::newRow("按钮清空") << QStringLiteral("按钮清空") << QRect(234, 134, 80, 32)
                                  << QStringLiteral("清空列表");
        QTest::newRow("按钮清数") << QStringLiteral("按钮清数") << QRect(234, 176, 80, 32)
                                  << QStringLiteral("清空数据库");
        // Docked along the bottom edge at the window's full width.
        QTest::newRow("状态条1") << QStringLiteral("状态条1") << QRect(0, 206, 323, 20)
                                 << QString();
    }
    void layoutHasTheControlsInPlace() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(QString, text);
        ScanFixture f;
        QCOMPARE(f.window->windowTitle(), QStringLiteral("扫描文件"));
        QCOMPARE(f.window->size(), QSize(323, 226));
        const auto* control = f.window->findChild<QWidget*>(name);
        QVERIFY(control != nullptr);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->property("text").toString(), text);
    }

    void statusBarRunsItsOwnClock() {
        ScanFixture f;
        QCOMPARE(f.Ui().状态条1->PartWidths(), QVector<int>({115, 340}));
        QCOMPARE(f.window->时钟1.Period(), 500);
        f.main.clock.now = QTime(9, 5, 3);
        Q_EMIT f.window->时钟1.ticked();
        QCOMPARE(f.Ui().状态条1->PartText(0), QStringLiteral(" 现在时间 09:05:03"));
    }

    void browseWritesTheChosenFolder_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a folder") << QStringLiteral("/music/rock") << QStringLiteral("/music/rock");
        QTest::newRow("final separator dropped")
            << QStringLiteral("/music/rock/") << QStringLiteral("/music/rock");
        QTest::newRow("the root keeps it") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("cancelled empties the box") << QString() << QString();
    }
    void browseWritesTheChosenFolder() {
        QFETCH(QString, chosen);
        QFETCH(QString, shown);
        ScanFixture f;
        f.Ui().编辑框1->setText(QStringLiteral("/before"));
        f.main.prompts.folders.push_back(chosen);
        f.Ui().按钮浏览->click();
        QCOMPARE(f.main.prompts.folderTitles,
                 std::vector<QString>{QStringLiteral("选择音乐文件夹")});
        QCOMPARE(f.Ui().编辑框1->text(), shown);
        QCOMPARE(f.Message(), QStringLiteral("选择文件夹 ") + shown);
    }

    void scanListsSubfoldersFirstWithOrWithoutFinalSeparator_data() {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("without") << QString();
        QTest::newRow("with") << QStringLiteral("/");
    }
    void scanListsSubfoldersFirstWithOrWithoutFinalSeparator() {
        QFETCH(QString, suffix);
        const FolderTree tree({QStringLiteral("a.mp3"), QStringLiteral("sub/b.MP3")});
        ScanFixture f;
        f.ScanFolder(tree.Root() + suffix);
        const QStringList expected =
            tree.Paths({QStringLiteral("sub/b.MP3"), QStringLiteral("a.mp3")});
        QCOMPARE(f.ScanList(), expected);
        QCOMPARE(f.Message(), expected.last());
    }

    void scanningTwiceListsTwiceAndClearEmptiesTheList() {
        const FolderTree tree({QStringLiteral("a.mp3"), QStringLiteral("b.txt")});
        ScanFixture f;
        f.Ui().编辑框1->setText(tree.Root());
        f.Ui().按钮扫描->click();
        f.Ui().按钮扫描->click();
        QCOMPARE(f.ScanList().size(), 4);
        QCOMPARE(f.ScanList().mid(2), f.ScanList().mid(0, 2));
        const QString message = f.Message();
        f.Ui().按钮清空->click();
        QVERIFY(f.ScanList().isEmpty());
        QCOMPARE(f.Message(), message);
    }

    void scanWithNothingFoundLeavesTheStartText_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty folder") << QStringLiteral("empty");
        QTest::newRow("missing folder") << QStringLiteral("missing");
    }
    void scanWithNothingFoundLeavesTheStartText() {
        QFETCH(QString, folder);
        const FolderTree tree({QStringLiteral("empty/")});
        ScanFixture f;
        f.ScanFolder(tree.Path(folder));
        QVERIFY(f.ScanList().isEmpty());
        QCOMPARE(f.Message(), QStringLiteral("开始扫描……"));
    }

    void scanWithoutAFolderDoesNothing() {
        ScanFixture f;
        f.Ui().按钮扫描->click();
        QVERIFY(f.ScanList().isEmpty());
        QCOMPARE(f.Message(), QString());
    }

    void buttonsWorkInTheMiddleOfAScan() {
        const FolderTree tree({QStringLiteral("sub/a.mp3"), QStringLiteral("b.mp3")});
        ScanFixture f;
        f.Ui().列表框1->addItem(QStringLiteral("/from/before.mp3"));
        QMetaObject::invokeMethod(f.Ui().按钮清空, &QPushButton::click, Qt::QueuedConnection);
        f.ScanFolder(tree.Root());
        QCOMPARE(f.ScanList(), tree.Paths({QStringLiteral("sub/a.mp3"), QStringLiteral("b.mp3")}));
    }

    void aHandlerRunMidScanSeesEveryFileFoundSoFar() {
        const FolderTree tree(
            {QStringLiteral("one/a.mp3"), QStringLiteral("two/b.mp3"), QStringLiteral("c.mp3")});
        ScanFixture f;
        // Pauses: 1 at the root, 2 entering the first subfolder, 3 after it.
        RunAtPause(3, [&f] { f.Ui().按钮导入->click(); });
        f.ScanFolder(tree.Root());
        QCOMPARE(f.ScanList().size(), 1);
        QCOMPARE(f.StoredPaths(), f.ScanList());
        QVERIFY(f.window->IsClosed());
        QCOMPARE(f.Message(), QStringLiteral("本窗口1秒后自动关闭"));
    }

    void closingTheWindowStopsTheScan() {
        const FolderTree tree({QStringLiteral("sub/a.mp3"), QStringLiteral("b.mp3")});
        ScanFixture f;
        f.window->show();
        QMetaObject::invokeMethod(f.window.get(), &QWidget::close, Qt::QueuedConnection);
        f.Ui().编辑框1->setText(tree.Root());
        f.Ui().按钮扫描->click();
        QVERIFY(f.window->IsClosed());
        QVERIFY(!f.window->isVisible());
        QVERIFY(f.ScanList().isEmpty());
        QCOMPARE(f.window->时钟1.Period(), 0);
    }

    void destroyingTheWindowMidScanTouchesNothingOfIt() {
        const FolderTree tree({QStringLiteral("sub/a.mp3"), QStringLiteral("b.mp3")});
        ScanFixture f;
        f.Ui().编辑框1->setText(tree.Root());
        QMetaObject::invokeMethod(
            qApp, [&f] { f.window.reset(); }, Qt::QueuedConnection);
        ScanWindow* window = f.window.get();
        window->ScanFolder();
        QVERIFY(f.window == nullptr);
    }
};

QTEST_MAIN(ScanWindowTest)
#include "scan_window_test.moc"
