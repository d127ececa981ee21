#include <QtTest>

#include "volume/alsa_mixer.h"

using namespace tunvell;

// Runs against the machine's real mixer, and only where one exists.
class AlsaMixerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setThenGetRoundTripsOnTheFullScale();
};

void AlsaMixerTest::setThenGetRoundTripsOnTheFullScale() {
    AlsaMixer mixer;
    if (!mixer.Open()) {
        QSKIP("no mixer on this machine");
    }
    const std::int32_t original = mixer.GetMasterVolume();
    QVERIFY(original >= 0 && original <= 32767);
    for (const std::int32_t value : {0, 16384, 32767}) {
        QVERIFY(mixer.SetMasterVolume(value));
        // The mixer's own steps may be coarser than ours: allow one of its steps.
        QVERIFY2(std::abs(mixer.GetMasterVolume() - value) <= 32767 / 100,
                 qPrintable(QString::number(mixer.GetMasterVolume())));
    }
    QVERIFY(mixer.SetMasterVolume(original));
}

QTEST_GUILESS_MAIN(AlsaMixerTest)
#include "test_alsa_mixer.moc"
