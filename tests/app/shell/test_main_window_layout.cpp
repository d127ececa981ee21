#include <QtTest>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

#include "tests/fakes/main_window_fixture.h"

using namespace tunvell;
using namespace tunvell::testing;

class MainWindowLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void windowIsFixedAndTimersStopped();
    void slidersStartWithTheirDesignedRanges();
};

void MainWindowLayoutTest::controlsSitWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");  // a null text: the control has none

    QTest::newRow("label") << u"透明标签当前播放"_qs << QRect(15, 7, 233, 24) << u"欢迎使用"_qs;
    QTest::newRow("canvas") << u"画板1"_qs << QRect(15, 32, 204, 45) << QString();
    QTest::newRow("progress") << u"滑块条1"_qs << QRect(15, 78, 220, 20) << QString();
    QTest::newRow("volume") << u"滑块条2"_qs << QRect(221, 30, 16, 49) << QString();
    QTest::newRow("previous") << u"按钮上一曲"_qs << QRect(15, 99, 55, 24) << u"上一曲"_qs;
    QTest::newRow("play") << u"按钮播放暂停"_qs << QRect(70, 99, 55, 24) << u"播 放"_qs;
    QTest::newRow("stop") << u"按钮停止"_qs << QRect(125, 99, 55, 24) << u"停 止"_qs;
    QTest::newRow("next") << u"按钮下一曲"_qs << QRect(180, 99, 55, 24) << u"下一曲"_qs;
    QTest::newRow("list") << u"列表框歌曲"_qs << QRect(249, 7, 247, 122) << QString();
    QTest::newRow("refresh") << u"图形按钮刷新"_qs << QRect(497, 9, 12, 12) << QString();
    QTest::newRow("scan") << u"图形按钮扫描"_qs << QRect(497, 22, 12, 12) << QString();
    QTest::newRow("add") << u"图形按钮添加"_qs << QRect(497, 35, 12, 12) << QString();
    QTest::newRow("settings") << u"图形按钮服务设置"_qs << QRect(497, 103, 12, 12) << QString();
    QTest::newRow("about") << u"图形按钮关于"_qs << QRect(497, 116, 12, 12) << QString();
    QTest::newRow("status") << u"状态条1"_qs << QRect(0, 125, 511, 20) << QString();
}

void MainWindowLayoutTest::controlsSitWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    MainWindowFixture fixture;
    auto* control = fixture.Window().findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->parentWidget(), &fixture.Window());
    QCOMPARE(control->geometry(), geometry);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), text.isNull() ? QString() : text);
    }
}

void MainWindowLayoutTest::windowIsFixedAndTimersStopped() {
    MainWindowFixture fixture;
    MainWindow& window = fixture.Window();
    QCOMPARE(window.windowTitle(), u"Tunvell v3.6"_qs);
    QCOMPARE(window.size(), QSize(511, 145));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(window.时钟取时.Period(), 0);
    QCOMPARE(window.时钟1.Period(), 0);
    QCOMPARE(window.绘制时钟.Period(), 0);
    QCOMPARE(fixture.Controls().状态条1->PartWidths(), (QVector<int>{118, 80, 320}));
}

void MainWindowLayoutTest::slidersStartWithTheirDesignedRanges() {
    MainWindowFixture fixture;
    QCOMPARE(fixture.Controls().滑块条1->minimum(), 1);
    QCOMPARE(fixture.Controls().滑块条2->minimum(), 1);
    QCOMPARE(fixture.Controls().滑块条2->maximum(), 10);
    QCOMPARE(fixture.Controls().滑块条2->value(), 1);
}

QTEST_MAIN(MainWindowLayoutTest)
#include "test_main_window_layout.moc"
