#include <QtTest>

#include <QListWidget>
#include <QSlider>

#include "app/single_instance.h"
#include "settings/settings_file.h"
#include "tests/fakes/main_window_fixture.h"

using namespace tunvell;
using namespace tunvell::testing;

class StartUpTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bringsTheSubsystemsUpInOrder();
    void autoPlayStartsTheProgressTimer_data();
    void autoPlayStartsTheProgressTimer();
    void secondInstanceShowsItsMessageAndEnds();
    void markerIsFreeAgainOnceTheWindowIsGone();
};

void StartUpTest::bringsTheSubsystemsUpInOrder() {
    MainWindowFixture fixture;
    fixture.mixer.volume = 65535;
    bool shownBeforeVolume = false;
    bool seededBeforeVolume = false;
    bool audioBeforeVolume = true;
    fixture.mixer.onCall = [&](const std::string&) {
        if (fixture.mixer.calls.size() == 1) {
            shownBeforeVolume =
                fixture.Window().isVisible() && !fixture.Controls().画板1->isVisible();
            seededBeforeVolume = fixture.random.seed.has_value();
            audioBeforeVolume = fixture.audio.initCalled;
        }
    };
    int widthAtAudioInit = -1;
    int volumeCallsAtAudioInit = 0;
    fixture.audio.onInit = [&] {
        widthAtAudioInit = fixture.state.spectrumBarWidth;
        volumeCallsAtAudioInit = static_cast<int>(fixture.mixer.calls.size());
    };
    fixture.Start();

    // The order: window shown, canvas hidden, random seeded, volume, audio,
    // settings, song list, tips, clock.
    QVERIFY(shownBeforeVolume);
    QVERIFY(seededBeforeVolume);
    QVERIFY(!audioBeforeVolume);
    QCOMPARE(volumeCallsAtAudioInit, 4);  // get, lower to 32767, get, get
    QCOMPARE(widthAtAudioInit, 0);        // settings not read yet

    MainWindow& window = fixture.Window();
    QVERIFY(window.isVisible());
    QVERIFY(!fixture.Controls().画板1->isVisible());
    QCOMPARE(fixture.mixer.calls, (std::vector<std::string>{"Get", "Set(32767)", "Get", "Get"}));
    QCOMPARE(fixture.Controls().滑块条2->maximum(), 32767);
    QCOMPARE(fixture.Controls().滑块条2->value(), 32767);
    QCOMPARE(fixture.audio.calls.front(), std::string("Init"));
    QCOMPARE(fixture.state.spectrumHeight, 45);
    // No settings file: the start-up defaults.
    QCOMPARE(fixture.state.spectrumBarWidth, 7);
    QCOMPARE(fixture.state.playMode, u"0"_qs);
    QCOMPARE(fixture.state.autoPlay, u"0"_qs);
    QCOMPARE(fixture.Controls().画板1->PenColor(), DEFAULT_SPECTRUM_PEN);
    QCOMPARE(fixture.Controls().画板1->BackgroundColor(), DEFAULT_SPECTRUM_BACKGROUND);
    // No store: an empty list, and the count says so.
    QCOMPARE(fixture.Controls().列表框歌曲->count(), 0);
    QCOMPARE(fixture.Controls().状态条1->PartText(1), u"歌曲：0 首"_qs);
    QCOMPARE(fixture.Controls().状态条1->PartText(2), u"已经更新播放列表"_qs);
    QCOMPARE(window.时钟取时.Period(), 500);
    QCOMPARE(window.时钟1.Period(), 0);
    QCOMPARE(window.绘制时钟.Period(), 0);
    QVERIFY(fixture.prompts.shown.empty());
    QVERIFY(window.InstanceGuard().HoldsMarker());
}

void StartUpTest::autoPlayStartsTheProgressTimer_data() {
    QTest::addColumn<QString>("par");
    QTest::addColumn<int>("period");
    QTest::newRow("on") << u"1"_qs << 1000;
    QTest::newRow("off") << u"0"_qs << 0;
    QTest::newRow("only exactly 1 counts") << u"yes"_qs << 0;
}

void StartUpTest::autoPlayStartsTheProgressTimer() {
    QFETCH(QString, par);
    QFETCH(int, period);
    MainWindowFixture fixture;
    SettingsFile(SettingsPathIn(fixture.dir.Path())).Write(u"autorun"_qs, u"par"_qs, par);
    fixture.Start();
    QCOMPARE(fixture.state.autoPlay, par);
    QCOMPARE(fixture.Window().时钟1.Period(), period);
}

void StartUpTest::secondInstanceShowsItsMessageAndEnds() {
    SingleInstanceGuard first;
    QVERIFY(!first.AcquireSingleInstance(INSTANCE_MARKER_NAME));

    MainWindowFixture fixture;
    QSignalSpy destroyed(&fixture.Window(), &MainWindow::windowDestroyed);
    fixture.Start();

    QCOMPARE(fixture.prompts.shown.size(), std::size_t{1});
    const FakePrompts::Shown& box = fixture.prompts.shown.front();
    QCOMPARE(box.text, u"程序已经运行！"_qs);
    QCOMPARE(box.title, u"信息："_qs);
    QCOMPARE(box.icon, BoxIcon::Information);
    QCOMPARE(box.buttons, BoxButtons::Ok);
    QCOMPARE(destroyed.count(), 1);
    QVERIFY(!fixture.Window().isVisible());
    QVERIFY(!fixture.audio.initCalled);
    QVERIFY(fixture.mixer.calls.empty());
    QCOMPARE(fixture.Window().时钟取时.Period(), 0);
    QVERIFY(first.HoldsMarker());
}

void StartUpTest::markerIsFreeAgainOnceTheWindowIsGone() {
    {
        MainWindowFixture fixture;
        fixture.Start();
        SingleInstanceGuard other;
        QVERIFY(other.AcquireSingleInstance(INSTANCE_MARKER_NAME));
        fixture.Window().DestroyWindow();
        QVERIFY(!other.AcquireSingleInstance(INSTANCE_MARKER_NAME));
    }
}

QTEST_MAIN(StartUpTest)
#include "test_start_up.moc"
