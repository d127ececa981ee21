#include <QtTest>

#include <QApplication>
#include <QToolButton>

#include "settings/settings_file.h"
#include "settings/settings_window.h"
#include "settings/settings_window_controls.h"
#include "tests/fakes/main_window_fixture.h"

using namespace tunvell;
using namespace tunvell::testing;

class OpenSettingsWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void opensModallyWhileTheMainTimersRun();
};

void OpenSettingsWindowTest::opensModallyWhileTheMainTimersRun() {
    MainWindowFixture fixture;
    fixture.Start();
    PeriodTimer& mainClock = fixture.Window().时钟取时;
    QCOMPARE(mainClock.Period(), 500);

    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        // Whatever fails below, the window closes so that the click returns.
        const auto closeAll = qScopeGuard([] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (qobject_cast<SettingsWindow*>(widget) != nullptr) {
                    widget->close();
                }
            }
        });
        auto* window = qobject_cast<SettingsWindow*>(QApplication::activeModalWidget());
        QVERIFY(window != nullptr);
        seen = true;
        QVERIFY(window->isModal());
        QVERIFY(window->isVisible());
        // The main window's clock goes on ticking under the modal window.
        QSignalSpy ticks(&mainClock, &PeriodTimer::ticked);
        QVERIFY(ticks.wait(5000));
        // Applying reaches the running player and the program directory's file.
        fixture.state.spectrumBarWidth = 0;
        window->Controls().滑块条1->triggerAction(QAbstractSlider::SliderToMinimum);
        window->Controls().颜色选择器1->ChooseColor(255);
        QTest::mouseClick(window->Controls().按钮设置, Qt::LeftButton);
        QCOMPARE(fixture.state.spectrumBarWidth, 1);
        QCOMPARE(fixture.Controls().画板1->PenColor(), 255u);
    });
    QTest::mouseClick(fixture.Controls().图形按钮服务设置, Qt::LeftButton);

    QVERIFY(seen);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    const SettingsFile file(SettingsPathIn(fixture.dir.Path()));
    QCOMPARE(file.Read(u"position"_qs, u"pos"_qs), u"1"_qs);
    QCOMPARE(mainClock.Period(), 500);
}

QTEST_MAIN(OpenSettingsWindowTest)
#include "test_open_settings_window.moc"
