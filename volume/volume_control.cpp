#include "volume/volume_control.h"

#include <QSlider>

#include "app/core/prompts.h"
#include "volume/mixer.h"

namespace tunvell {

bool OpenMasterVolume(Mixer& mixer, Prompts& prompts) {
    if (mixer.Open()) {
        return true;
    }
    prompts.ShowMessage(QStringLiteral("不能打开混频器（mixer）"), QStringLiteral("音量控制"),
                        BoxIcon::Error, BoxButtons::Ok);
    return false;
}

void InitVolumeSlider(QSlider& volumeSlider, Mixer& mixer) {
    volumeSlider.setMaximum(VOLUME_SLIDER_MAX);
    if (mixer.GetMasterVolume() > VOLUME_SLIDER_MAX) {
        mixer.SetMasterVolume(VOLUME_SLIDER_MAX);
    }
    if (mixer.GetMasterVolume() < VOLUME_LOW_LIMIT) {
        mixer.SetMasterVolume(VOLUME_DEFAULT);
        volumeSlider.setValue(VOLUME_DEFAULT);
    } else {
        volumeSlider.setValue(mixer.GetMasterVolume());
    }
}

// Bound to the slider's actionTriggered, which comes for the user's actions
// only: the position writes above never reach the mixer a second time.
void SetVolumeFromSlider(const QSlider& volumeSlider, Mixer& mixer) {
    mixer.SetMasterVolume(volumeSlider.sliderPosition());
}

}  // namespace tunvell
