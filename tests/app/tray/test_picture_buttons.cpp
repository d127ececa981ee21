#include <QHelpEvent>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "app/button_icons.h"
#include "app/button_tips.h"
#include "tests/fakes/main_window_fixture.h"

namespace tunvell {

namespace {

// Asks for a tip the way the platform does when the pointer rests on a control.
void RestPointerOn(QWidget& control) {
    const QPoint inside(control.width() / 2, control.height() / 2);
    QHelpEvent event(QEvent::ToolTip, inside, control.mapToGlobal(inside));
    QCoreApplication::sendEvent(&control, &event);
}

bool HasVisiblePixels(const QIcon& icon, int size) {
    const QImage image = icon.pixmap(size, size).toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() > 0) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class TestPictureButtons : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup();

    void tipOfEachPictureButton_data();
    void tipOfEachPictureButton();
    void otherControlsGetNoTip_data();
    void otherControlsGetNoTip();
    void registeringAgainKeepsOneTipControl();

    void iconsAreDrawn();
};

void TestPictureButtons::cleanup() {
    QToolTip::hideText();
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestPictureButtons::tipOfEachPictureButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("tip");
    QTest::newRow("about") << QStringLiteral("图形按钮关于") << QStringLiteral("关于Tunvell v3.6");
    QTest::newRow("settings") << QStringLiteral("图形按钮服务设置") << QStringLiteral("播放设置");
    QTest::newRow("add") << QStringLiteral("图形按钮添加")
                         << QStringLiteral("添加临时歌曲，关闭程序后不保存");
    QTest::newRow("scan") << QStringLiteral("图形按钮扫描") << QStringLiteral("扫描音乐文件夹");
    QTest::newRow("refresh") << QStringLiteral("图形按钮刷新") << QStringLiteral("刷新播放列表");
}

void TestPictureButtons::tipOfEachPictureButton() {
    QFETCH(QString, button);
    QFETCH(QString, tip);
    testing::MainWindowFixture fixture;
    fixture.Window().show();
    auto* control = fixture.Window().findChild<QToolButton*>(button);
    QVERIFY(control != nullptr);

    QString text = QStringLiteral("before");
    SupplyButtonTip(control, text);
    QCOMPARE(text, tip);

    RegisterButtonTips(fixture.Controls());
    RestPointerOn(*control);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), tip);
}

void TestPictureButtons::otherControlsGetNoTip_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("play button") << QStringLiteral("按钮播放暂停");
    QTest::newRow("song list") << QStringLiteral("列表框歌曲");
    QTest::newRow("progress slider") << QStringLiteral("滑块条1");
    QTest::newRow("status bar") << QStringLiteral("状态条1");
    QTest::newRow("no control at all") << QString();
}

void TestPictureButtons::otherControlsGetNoTip() {
    QFETCH(QString, control);
    testing::MainWindowFixture fixture;
    fixture.Window().show();
    RegisterButtonTips(fixture.Controls());
    QWidget* widget = control.isEmpty() ? nullptr : fixture.Window().findChild<QWidget*>(control);
    QVERIFY(control.isEmpty() || widget != nullptr);

    QString text = QStringLiteral("left as it was");
    SupplyButtonTip(widget, text);
    QCOMPARE(text, QStringLiteral("left as it was"));

    if (widget != nullptr) {
        RestPointerOn(*widget);
        QVERIFY(!QToolTip::isVisible());
    }
}

void TestPictureButtons::registeringAgainKeepsOneTipControl() {
    testing::MainWindowFixture fixture;
    fixture.Window().show();
    RegisterButtonTips(fixture.Controls());
    RegisterButtonTips(fixture.Controls());
    QCOMPARE(fixture.Window().findChildren<QObject*>(QStringLiteral("气球提示框1")).size(), 1);
    RestPointerOn(*fixture.Controls().图形按钮添加);
    QCOMPARE(QToolTip::text(), QStringLiteral("添加临时歌曲，关闭程序后不保存"));
}

void TestPictureButtons::iconsAreDrawn() {
    testing::MainWindowFixture fixture;
    Ui::MainWindow& controls = fixture.Controls();
    for (const QToolButton* button :
         {controls.图形按钮刷新, controls.图形按钮扫描, controls.图形按钮添加,
          controls.图形按钮服务设置, controls.图形按钮关于}) {
        QVERIFY2(HasVisiblePixels(button->icon(), 12), qPrintable(button->objectName()));
    }
    QVERIFY(HasVisiblePixels(ProgramIcon(), 88));
    QVERIFY(HasVisiblePixels(fixture.Window().windowIcon(), 16));
}

}  // namespace tunvell

QTEST_MAIN(tunvell::TestPictureButtons)
#include "test_picture_buttons.moc"
