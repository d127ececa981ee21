#include <QtTest>

#include <QSlider>

#include "tests/fakes/fake_mixer.h"
#include "tests/fakes/fake_prompts.h"
#include "volume/volume_control.h"

using namespace tunvell;
using namespace tunvell::testing;

class VolumeControlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpBringsTheVolumeIntoRange_data();
    void startUpBringsTheVolumeIntoRange();
    void programWritesDoNotSetTheVolume();
    void sliderActionsSetTheVolume_data();
    void sliderActionsSetTheVolume();
    void noMixerShowsTheErrorBox();
};

void VolumeControlTest::startUpBringsTheVolumeIntoRange_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("slider");
    QTest::newRow("above the top is lowered") << 65535 << true << 32767 << 32767;
    QTest::newRow("the top stays") << 32767 << true << 32767 << 32767;
    QTest::newRow("the low limit stays") << 1100 << true << 1100 << 1100;
    QTest::newRow("just below is raised") << 1099 << true << 24575 << 24575;
    QTest::newRow("silent is raised") << 0 << true << 24575 << 24575;
    QTest::newRow("unreadable counts as silent") << 5000 << false << 24575 << 24575;
}

void VolumeControlTest::startUpBringsTheVolumeIntoRange() {
    QFETCH(int, before);
    QFETCH(bool, readable);
    QFETCH(int, after);
    QFETCH(int, slider);

    FakeMixer mixer;
    mixer.volume = before;
    mixer.readable = readable;
    QSlider volume;
    volume.setRange(1, 10);
    InitVolumeSlider(volume, mixer);

    QCOMPARE(volume.minimum(), 1);
    QCOMPARE(volume.maximum(), 32767);
    QCOMPARE(mixer.volume, after);
    QCOMPARE(volume.value(), slider);
}

void VolumeControlTest::programWritesDoNotSetTheVolume() {
    FakeMixer mixer;
    mixer.volume = 20000;
    QSlider volume;
    QObject::connect(&volume, &QSlider::actionTriggered,
                     [&] { SetVolumeFromSlider(volume, mixer); });
    InitVolumeSlider(volume, mixer);
    volume.setValue(3000);
    QCOMPARE(mixer.calls, (std::vector<std::string>{"Get", "Get", "Get"}));
}

void VolumeControlTest::sliderActionsSetTheVolume_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("expected");
    QTest::newRow("line up") << int(QAbstractSlider::SliderSingleStepAdd) << 20001;
    QTest::newRow("page down") << int(QAbstractSlider::SliderPageStepSub) << 19995;
    QTest::newRow("to the minimum sends 1, never 0") << int(QAbstractSlider::SliderToMinimum) << 1;
    QTest::newRow("to the maximum") << int(QAbstractSlider::SliderToMaximum) << 32767;
}

void VolumeControlTest::sliderActionsSetTheVolume() {
    QFETCH(int, action);
    QFETCH(int, expected);
    FakeMixer mixer;
    mixer.volume = 20000;
    QSlider volume;
    volume.setRange(1, 10);
    volume.setSingleStep(1);
    volume.setPageStep(5);
    QObject::connect(&volume, &QSlider::actionTriggered,
                     [&] { SetVolumeFromSlider(volume, mixer); });
    InitVolumeSlider(volume, mixer);
    volume.triggerAction(static_cast<QAbstractSlider::SliderAction>(action));
    QCOMPARE(mixer.volume, expected);
}

void VolumeControlTest::noMixerShowsTheErrorBox() {
    FakeMixer mixer;
    mixer.opens = false;
    FakePrompts prompts;
    QVERIFY(!OpenMasterVolume(mixer, prompts));
    QCOMPARE(prompts.shown.size(), std::size_t{1});
    QCOMPARE(prompts.shown[0].text, u"不能打开混频器（mixer）"_qs);
    QCOMPARE(prompts.shown[0].title, u"音量控制"_qs);
    QCOMPARE(prompts.shown[0].icon, BoxIcon::Error);
    QCOMPARE(prompts.shown[0].buttons, BoxButtons::Ok);

    mixer.opens = true;
    prompts.shown.clear();
    QVERIFY(OpenMasterVolume(mixer, prompts));
    QVERIFY(prompts.shown.empty());
}

QTEST_MAIN(VolumeControlTest)
#include "test_volume_control.moc"
