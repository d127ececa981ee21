#include <QtTest>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "tests/settings/file_size_limit.h"
#include "tests/settings/settings_window_rig.h"

using namespace tunvell;
using namespace tunvell::testing;

using UserAction = std::function<void(Ui::SettingsWindow&)>;
Q_DECLARE_METATYPE(UserAction)

namespace {

const QByteArray NON_DEFAULT_FILE(
    "; mine\n[mode]\npmd=1\n[autorun]\npar=1\n[position]\npos=3\n"
    "[color]\ncl1=255\ncl2=65280\n");

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsSitWhereTheLayoutPutsThem_data();
    void controlsSitWhereTheLayoutPutsThem();
    void windowHasNoOtherControls();
    void windowIsFixedWithItsOwnClock();
    void previewsShowTheirColour();
    void clickOnAPreviewOpensItsChooser();

    void initShowsTheFile_data();
    void initShowsTheFile();
    void restoreDefaultsChangesOnlyTheControls();

    void firstApplyCreatesTheFile();
    void applyWritesWhatTheControlsHold_data();
    void applyWritesWhatTheControlsHold();
    void sliderReportsItsThumbOnceMoved();
    void failedWriteIsShownAndStopsTheRest_data();
    void failedWriteIsShownAndStopsTheRest();

    void userActionsReport_data();
    void userActionsReport();
};

void SettingsWindowTest::controlsSitWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");  // null: the control shows none

    const QString window = u"SettingsWindow"_qs;
    QTest::newRow("group 1") << u"分组框1"_qs << window << QRect(16, 8, 120, 72) << u"播放选项"_qs;
    QTest::newRow("random") << u"单选框sj"_qs << u"分组框1"_qs << QRect(11, 17, 80, 24)
                            << u"随机播放"_qs;
    QTest::newRow("loop") << u"单选框xh"_qs << u"分组框1"_qs << QRect(11, 40, 80, 24)
                          << u"循环播放"_qs;
    QTest::newRow("group 2") << u"分组框2"_qs << window << QRect(146, 8, 120, 72) << u"自动播放"_qs;
    QTest::newRow("no auto-play") << u"单选框off"_qs << u"分组框2"_qs << QRect(11, 17, 93, 24)
                                  << u"不自动播放"_qs;
    QTest::newRow("auto-play") << u"单选框on"_qs << u"分组框2"_qs << QRect(11, 40, 93, 24)
                               << u"自动播放音乐"_qs;
    QTest::newRow("width label") << u"透明标签1"_qs << window << QRect(16, 91, 56, 20)
                                 << u"频谱宽度"_qs;
    QTest::newRow("width slider") << u"滑块条1"_qs << window << QRect(80, 91, 184, 20) << QString();
    QTest::newRow("colour label") << u"透明标签2"_qs << window << QRect(16, 122, 56, 20)
                                  << u"频谱颜色"_qs;
    QTest::newRow("pen preview") << u"画板1"_qs << window << QRect(87, 118, 59, 24) << QString();
    QTest::newRow("pen chooser") << u"颜色选择器1"_qs << window << QRect(87, 118, 80, 24)
                                 << QString();
    QTest::newRow("background label")
        << u"透明标签3"_qs << window << QRect(16, 154, 56, 20) << u"频谱背景"_qs;
    QTest::newRow("background preview")
        << u"画板2"_qs << window << QRect(87, 150, 59, 24) << QString();
    QTest::newRow("background chooser")
        << u"颜色选择器2"_qs << window << QRect(87, 150, 80, 24) << QString();
    QTest::newRow("apply") << u"按钮设置"_qs << window << QRect(186, 117, 80, 25) << u"应用设置"_qs;
    QTest::newRow("defaults") << u"按钮默认"_qs << window << QRect(186, 149, 80, 25)
                              << u"恢复默认"_qs;
    QTest::newRow("status bar") << u"状态条1"_qs << window << QRect(0, 177, 280, 20) << QString();
}

void SettingsWindowTest::controlsSitWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);

    SettingsWindowRig rig;
    SettingsWindow& window = rig.Open();
    auto* control = window.findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisibleTo(&window));
    if (auto* label = qobject_cast<QLabel*>(control)) {
        QCOMPARE(label->text(), text);
        QVERIFY(!label->autoFillBackground());
    } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
        QCOMPARE(group->title(), text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QCOMPARE(button->text(), text.isNull() ? QString() : text);
    }
}

void SettingsWindowTest::windowHasNoOtherControls() {
    SettingsWindowRig rig;
    SettingsWindow& window = rig.Open();
    QStringList named;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(u"qt_"_qs) &&
            !child->isWindow()) {
            named << child->objectName();
        }
    }
    named.sort();
    QStringList expected{u"分组框1"_qs,   u"单选框sj"_qs,    u"单选框xh"_qs,    u"分组框2"_qs,
                         u"单选框off"_qs, u"单选框on"_qs,    u"透明标签1"_qs,   u"滑块条1"_qs,
                         u"透明标签2"_qs, u"画板1"_qs,       u"颜色选择器1"_qs, u"透明标签3"_qs,
                         u"画板2"_qs,     u"颜色选择器2"_qs, u"按钮设置"_qs,    u"按钮默认"_qs,
                         u"状态条1"_qs};
    expected.sort();
    QCOMPARE(named, expected);
    // Each preview is drawn over its chooser, leaving the chooser's arrow in view.
    const QObjectList& order = window.children();
    QVERIFY(order.indexOf(rig.Controls().画板1) > order.indexOf(rig.Controls().颜色选择器1));
    QVERIFY(order.indexOf(rig.Controls().画板2) > order.indexOf(rig.Controls().颜色选择器2));
}

void SettingsWindowTest::windowIsFixedWithItsOwnClock() {
    SettingsWindowRig rig;
    SettingsWindow& window = rig.Open();
    Ui::SettingsWindow& controls = rig.Controls();

    QCOMPARE(window.windowTitle(), u"播放设置"_qs);
    QCOMPARE(window.size(), QSize(280, 197));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);

    QCOMPARE(controls.滑块条1->minimum(), 1);
    QCOMPARE(controls.滑块条1->maximum(), 7);
    QCOMPARE(controls.滑块条1->singleStep(), 1);
    QCOMPARE(controls.滑块条1->pageStep(), 5);
    QCOMPARE(controls.滑块条1->tickPosition(), QSlider::TicksBelow);
    QCOMPARE(controls.滑块条1->tickInterval(), 1);
    QVERIFY(controls.按钮设置->isEnabled());

    QCOMPARE(controls.状态条1->PartWidths(), (QVector<int>{115, 260}));
    QCOMPARE(window.时钟1.Period(), 500);
    rig.clock.now = QTime(9, 5, 3);
    Q_EMIT window.时钟1.ticked();
    QCOMPARE(controls.状态条1->PartText(0), u" 现在时间 09:05:03"_qs);
    QCOMPARE(rig.Message(), QString());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 2);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 2);
}

void SettingsWindowTest::previewsShowTheirColour() {
    SettingsWindowRig rig;
    PutFile(rig.file.Path(), "[color]\ncl1=255\ncl2=-16711681\n");  // red; -16711681 is 0xFF00FFFF
    SettingsWindow& window = rig.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage pen = rig.Controls().画板1->grab().toImage();
    const QImage back = rig.Controls().画板2->grab().toImage();
    QCOMPARE(pen.pixelColor(pen.rect().center()), QColor(255, 0, 0));
    QCOMPARE(back.pixelColor(back.rect().center()), QColor(255, 255, 0));
}

void SettingsWindowTest::clickOnAPreviewOpensItsChooser() {
    SettingsWindowRig rig;
    SettingsWindow& window = rig.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* opened = nullptr;
    QTimer::singleShot(0, this, [&opened] {
        opened = QApplication::activePopupWidget();
        if (opened != nullptr) {
            opened->close();
        }
    });
    QTest::mouseClick(rig.Controls().画板2, Qt::LeftButton);
    QVERIFY(opened != nullptr);
    QCOMPARE(opened, rig.Controls().颜色选择器2->menu());
    QCOMPARE(rig.Message(), QString());  // opening is no choice yet
}

void SettingsWindowTest::initShowsTheFile_data() {
    QTest::addColumn<QByteArray>("content");  // null: no file
    QTest::addColumn<bool>("random");
    QTest::addColumn<bool>("noAutoPlay");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<int>("width");
    QTest::addColumn<uint>("pen");
    QTest::addColumn<uint>("background");

    const uint white = DEFAULT_SPECTRUM_PEN;
    const uint blue = DEFAULT_SPECTRUM_BACKGROUND;
    QTest::newRow("no file") << QByteArray() << true << true << 7 << 7 << white << blue;
    QTest::newRow("empty file") << QByteArray("") << false << false << 1 << 1 << white << blue;
    QTest::newRow("every key") << NON_DEFAULT_FILE << false << false << 3 << 3 << 255u << 65280u;
    QTest::newRow("random, no auto-play") << QByteArray("[mode]\npmd=0\n[autorun]\npar=0\n") << true
                                          << true << 1 << 1 << white << blue;
    QTest::newRow("only pos=3 shows loop and auto-play")
        << QByteArray("[position]\npos=3\n") << false << false << 3 << 3 << white << blue;
    QTest::newRow("pos empty") << QByteArray("[position]\npos=\n") << false << false << 1 << 0
                               << white << blue;
    QTest::newRow("pos=20") << QByteArray("[position]\npos=20\n") << false << false << 7 << 20
                            << white << blue;
    QTest::newRow("pos beyond what is remembered")
        << QByteArray("[position]\npos=99999\n") << false << false << 7 << 32767 << white << blue;
    QTest::newRow("negative pos") << QByteArray("[position]\npos=-4\n") << false << false << 1 << 0
                                  << white << blue;
    QTest::newRow("pmd=2 shows loop")
        << QByteArray("[mode]\npmd=2\n") << false << false << 1 << 1 << white << blue;
    QTest::newRow("cl1 not a number")
        << QByteArray("[color]\ncl1=white\n") << false << false << 1 << 1 << 0u << blue;
    QTest::newRow("cl1 empty") << QByteArray("[color]\ncl1=\ncl2=\n") << false << false << 1 << 1
                               << white << blue;
    QTest::newRow("negative colour")
        << QByteArray("[color]\ncl1=-5\n") << false << false << 1 << 1 << 0xFFFFFFFBu << blue;
}

void SettingsWindowTest::initShowsTheFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, random);
    QFETCH(bool, noAutoPlay);
    QFETCH(int, thumb);
    QFETCH(int, width);
    QFETCH(uint, pen);
    QFETCH(uint, background);

    SettingsWindowRig rig;
    PutFile(rig.file.Path(), content);
    rig.state.playMode = u"running"_qs;
    rig.Open();
    Ui::SettingsWindow& controls = rig.Controls();

    QCOMPARE(controls.单选框sj->isChecked(), random);
    QCOMPARE(controls.单选框xh->isChecked(), !random);
    QCOMPARE(controls.单选框off->isChecked(), noAutoPlay);
    QCOMPARE(controls.单选框on->isChecked(), !noAutoPlay);
    QCOMPARE(controls.滑块条1->value(), thumb);
    QCOMPARE(controls.滑块条1->Width(), width);
    QCOMPARE(controls.画板1->Color(), pen);
    QCOMPARE(controls.画板2->Color(), background);
    // Setting controls reports nothing and touches neither file nor player.
    QCOMPARE(rig.Message(), QString());
    QCOMPARE(rig.FileText(), content);
    QCOMPARE(rig.state.playMode, u"running"_qs);
}

void SettingsWindowTest::restoreDefaultsChangesOnlyTheControls() {
    SettingsWindowRig rig;
    PutFile(rig.file.Path(), NON_DEFAULT_FILE);
    rig.state.spectrumBarWidth = 3;
    rig.mainCanvas.SetPenColor(255);
    rig.Open();
    Ui::SettingsWindow& controls = rig.Controls();

    QTest::mouseClick(controls.按钮默认, Qt::LeftButton);

    QVERIFY(controls.单选框sj->isChecked());
    QVERIFY(!controls.单选框xh->isChecked());
    QVERIFY(controls.单选框off->isChecked());
    QVERIFY(!controls.单选框on->isChecked());
    QCOMPARE(controls.滑块条1->value(), 7);
    QCOMPARE(controls.滑块条1->Width(), 7);
    QCOMPARE(controls.画板1->Color(), DEFAULT_SPECTRUM_PEN);
    QCOMPARE(controls.画板2->Color(), DEFAULT_SPECTRUM_BACKGROUND);
    QCOMPARE(rig.Message(), QString());
    QCOMPARE(rig.FileText(), NON_DEFAULT_FILE);
    QCOMPARE(rig.state.spectrumBarWidth, 3);
    QCOMPARE(rig.mainCanvas.PenColor(), 255u);

    // Closing now leaves everything as it was; applying saves the defaults.
    QTest::mouseClick(controls.按钮设置, Qt::LeftButton);
    QCOMPARE(rig.file.Read(u"mode"_qs, u"pmd"_qs), u"0"_qs);
    QCOMPARE(rig.file.Read(u"autorun"_qs, u"par"_qs), u"0"_qs);
    QCOMPARE(rig.file.Read(u"position"_qs, u"pos"_qs), u"7"_qs);
    QCOMPARE(rig.file.Read(u"color"_qs, u"cl1"_qs), u"16777215"_qs);
    QCOMPARE(rig.file.Read(u"color"_qs, u"cl2"_qs), u"12295509"_qs);
    QVERIFY(rig.FileText().startsWith("; mine\n"));
}

void SettingsWindowTest::firstApplyCreatesTheFile() {
    SettingsWindowRig rig;
    rig.Open();
    Ui::SettingsWindow& controls = rig.Controls();

    QTest::mouseClick(controls.按钮设置, Qt::LeftButton);

    QCOMPARE(rig.FileText(), QByteArray("[mode]\npmd=0\n\n\n"
                                        "[autorun]\npar=0\n\n\n"
                                        "[position]\npos=7\n\n\n"
                                        "[color]\ncl1=16777215\ncl2=12295509\n"));
    QCOMPARE(rig.Message(), u"配置完成"_qs);
    QVERIFY(controls.按钮设置->isEnabled());
    QCOMPARE(rig.state.playMode, u"0"_qs);
    QCOMPARE(rig.state.autoPlay, u"0"_qs);
    QCOMPARE(rig.state.spectrumBarWidth, 7);
    QCOMPARE(rig.mainCanvas.PenColor(), DEFAULT_SPECTRUM_PEN);
    QCOMPARE(rig.mainCanvas.BackgroundColor(), DEFAULT_SPECTRUM_BACKGROUND);
}

void SettingsWindowTest::applyWritesWhatTheControlsHold_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("playMode");
    QTest::addColumn<QString>("autoPlay");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("pen");
    QTest::addColumn<QString>("background");

    QTest::newRow("every key") << NON_DEFAULT_FILE << u"1"_qs << u"1"_qs << 3 << u"255"_qs
                               << u"65280"_qs;
    QTest::newRow("missing keys as the window shows them")
        << QByteArray("[position]\npos=3\n") << u"1"_qs << u"1"_qs << 3 << u"16777215"_qs
        << u"12295509"_qs;
    QTest::newRow("pos empty writes 0") << QByteArray("[position]\npos=\n") << u"1"_qs << u"1"_qs
                                        << 0 << u"16777215"_qs << u"12295509"_qs;
    QTest::newRow("pos=20 writes 20") << QByteArray("[position]\npos=20\n") << u"1"_qs << u"1"_qs
                                      << 20 << u"16777215"_qs << u"12295509"_qs;
    QTest::newRow("odd colours written back as read")
        << QByteArray("[color]\ncl1=-5\ncl2=4294967295\n") << u"1"_qs << u"1"_qs << 1 << u"-5"_qs
        << u"2147483647"_qs;
}

void SettingsWindowTest::applyWritesWhatTheControlsHold() {
    QFETCH(QByteArray, content);
    QFETCH(QString, playMode);
    QFETCH(QString, autoPlay);
    QFETCH(int, width);
    QFETCH(QString, pen);
    QFETCH(QString, background);

    SettingsWindowRig rig;
    PutFile(rig.file.Path(), content);
    rig.Open();
    QTest::mouseClick(rig.Controls().按钮设置, Qt::LeftButton);

    QCOMPARE(rig.Message(), u"配置完成"_qs);
    QCOMPARE(rig.state.playMode, playMode);
    QCOMPARE(rig.state.autoPlay, autoPlay);
    QCOMPARE(rig.state.spectrumBarWidth, width);
    QCOMPARE(rig.mainCanvas.PenColor(), static_cast<ColorRef>(SettingsNumber(pen)));
    QCOMPARE(rig.mainCanvas.BackgroundColor(), static_cast<ColorRef>(SettingsNumber(background)));
    QCOMPARE(rig.file.Read(u"mode"_qs, u"pmd"_qs), playMode);
    QCOMPARE(rig.file.Read(u"autorun"_qs, u"par"_qs), autoPlay);
    QCOMPARE(rig.file.Read(u"position"_qs, u"pos"_qs), QString::number(width));
    QCOMPARE(rig.file.Read(u"color"_qs, u"cl1"_qs), pen);
    QCOMPARE(rig.file.Read(u"color"_qs, u"cl2"_qs), background);
}

void SettingsWindowTest::sliderReportsItsThumbOnceMoved() {
    SettingsWindowRig rig;
    PutFile(rig.file.Path(), "[position]\npos=20\n");
    rig.Open();
    WidthSlider& slider = *rig.Controls().滑块条1;
    QCOMPARE(slider.Width(), 20);

    slider.triggerAction(QAbstractSlider::SliderSingleStepSub);  // as the Left key does
    QCOMPARE(slider.value(), 6);
    QCOMPARE(slider.Width(), 6);
    QTest::mouseClick(rig.Controls().按钮设置, Qt::LeftButton);
    QCOMPARE(rig.state.spectrumBarWidth, 6);
    QCOMPARE(rig.file.Read(u"position"_qs, u"pos"_qs), u"6"_qs);

    // Set by the program again, it remembers again.
    QTest::mouseClick(rig.Controls().按钮默认, Qt::LeftButton);
    slider.setValue(2);
    QCOMPARE(slider.Width(), 7);
}

void SettingsWindowTest::failedWriteIsShownAndStopsTheRest_data() {
    QTest::addColumn<bool>("directoryInTheWay");
    QTest::addColumn<QByteArray>("fileAfter");  // null: no file

    // A directory where the file should be: nothing can be written (even by root).
    QTest::newRow("nothing written") << true << QByteArray();
    // A disk that fills up after the second key: the first two stay written.
    QTest::newRow("disk full midway") << false
                                      << QByteArray(
                                             "[mode]\npmd=1\n\n\n"
                                             "[autorun]\npar=1\n");
}

void SettingsWindowTest::failedWriteIsShownAndStopsTheRest() {
    QFETCH(bool, directoryInTheWay);
    QFETCH(QByteArray, fileAfter);

    SettingsWindowRig rig;
    if (directoryInTheWay) {
        QVERIFY(QDir(rig.dir.Path()).mkdir(u"config.ini"_qs));
    }
    rig.Open();
    Ui::SettingsWindow& controls = rig.Controls();
    controls.单选框xh->click();
    controls.单选框on->click();
    controls.滑块条1->triggerAction(QAbstractSlider::SliderToMinimum);
    controls.颜色选择器1->ChooseColor(255);
    controls.颜色选择器2->ChooseColor(0);
    {
        FileSizeLimit limit(directoryInTheWay ? RLIM_INFINITY : 40);
        QTest::mouseClick(controls.按钮设置, Qt::LeftButton);
    }

    QCOMPARE(rig.Message(), u"配置保存失败"_qs);
    QVERIFY(!controls.按钮设置->isEnabled());
    // The running player has the new settings all the same.
    QCOMPARE(rig.state.playMode, u"1"_qs);
    QCOMPARE(rig.state.autoPlay, u"1"_qs);
    QCOMPARE(rig.state.spectrumBarWidth, 1);
    QCOMPARE(rig.mainCanvas.PenColor(), 255u);
    QCOMPARE(rig.mainCanvas.BackgroundColor(), 0u);
    if (directoryInTheWay) {
        QVERIFY(QFileInfo(rig.file.Path()).isDir());
    } else {
        QCOMPARE(rig.FileText(), fileAfter);
    }
}

void SettingsWindowTest::userActionsReport_data() {
    QTest::addColumn<UserAction>("action");
    QTest::addColumn<QString>("message");
    QTest::addColumn<uint>("pen");
    QTest::addColumn<uint>("background");

    const uint white = DEFAULT_SPECTRUM_PEN;
    const uint blue = DEFAULT_SPECTRUM_BACKGROUND;
    QTest::newRow("random clicked")
        << UserAction([](Ui::SettingsWindow& c) { QTest::mouseClick(c.单选框sj, Qt::LeftButton); })
        << u"随便播放"_qs << white << blue;
    QTest::newRow("loop clicked") << UserAction([](Ui::SettingsWindow& c) {
        QTest::mouseClick(c.单选框xh, Qt::LeftButton);
    }) << u"循环播放"_qs << white << blue;
    QTest::newRow("auto-play clicked")
        << UserAction([](Ui::SettingsWindow& c) { QTest::mouseClick(c.单选框on, Qt::LeftButton); })
        << u"程序运行后自动播放音乐"_qs << white << blue;
    QTest::newRow("no auto-play clicked")
        << UserAction([](Ui::SettingsWindow& c) { QTest::mouseClick(c.单选框off, Qt::LeftButton); })
        << u"程序运行后不自动播放音乐"_qs << white << blue;
    QTest::newRow("slider key") << UserAction([](Ui::SettingsWindow& c) {
        QTest::keyClick(c.滑块条1, Qt::Key_Left);
    }) << u"当前频谱宽度：6"_qs << white
                                << blue;
    QTest::newRow("slider page") << UserAction([](Ui::SettingsWindow& c) {
        c.滑块条1->triggerAction(QAbstractSlider::SliderPageStepSub);
    }) << u"当前频谱宽度：2"_qs << white
                                 << blue;
    QTest::newRow("pen colour chosen")
        << UserAction([](Ui::SettingsWindow& c) { c.颜色选择器1->ChooseColor(0x00FF00); })
        << u"频谱前景色被改变"_qs << 0x00FF00u << blue;
    QTest::newRow("background colour chosen")
        << UserAction([](Ui::SettingsWindow& c) { c.颜色选择器2->ChooseColor(0x0000FF); })
        << u"频谱背景色被改变"_qs << white << 0x0000FFu;
    QTest::newRow("colour from the menu") << UserAction([](Ui::SettingsWindow& c) {
        c.颜色选择器2->menu()->actions().at(2)->trigger();  // 红色
    }) << u"频谱背景色被改变"_qs << white << 0x0000FFu;
}

void SettingsWindowTest::userActionsReport() {
    QFETCH(UserAction, action);
    QFETCH(QString, message);
    QFETCH(uint, pen);
    QFETCH(uint, background);

    SettingsWindowRig rig;
    SettingsWindow& window = rig.Open();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    action(rig.Controls());
    QCOMPARE(rig.Message(), message);
    QCOMPARE(rig.Controls().画板1->Color(), pen);
    QCOMPARE(rig.Controls().画板2->Color(), background);
    QVERIFY(!rig.file.Exists());  // reporting saves nothing
}

QTEST_MAIN(SettingsWindowTest)
#include "test_settings_window.moc"
