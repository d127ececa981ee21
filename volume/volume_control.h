#pragma once

#include <cstdint>

class QSlider;

namespace tunvell {

class Mixer;
class Prompts;

inline constexpr std::int32_t VOLUME_SLIDER_MAX = 32767;
inline constexpr std::int32_t VOLUME_LOW_LIMIT = 1100;
inline constexpr std::int32_t VOLUME_DEFAULT = 24575;

// Process entry: attaches the mixer. Without one it shows the error box and
// returns false; the caller then ends the process with exit code 0.
bool OpenMasterVolume(Mixer& mixer, Prompts& prompts);

// Start-up: gives 滑块条2 its range and brings the master volume into it.
void InitVolumeSlider(QSlider& volumeSlider, Mixer& mixer);

// Every user movement of 滑块条2 sets the master volume.
void SetVolumeFromSlider(const QSlider& volumeSlider, Mixer& mixer);

}  // namespace tunvell
