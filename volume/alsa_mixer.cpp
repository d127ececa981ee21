#include "volume/alsa_mixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "volume/volume_control.h"

namespace tunvell {

namespace {

constexpr const char* CARD = "default";
constexpr const char* PREFERRED_ELEMENT = "Master";

snd_mixer_elem_t* FindVolumeElement(snd_mixer_t* mixer) {
    snd_mixer_elem_t* fallback = nullptr;
    for (snd_mixer_elem_t* elem = snd_mixer_first_elem(mixer); elem != nullptr;
         elem = snd_mixer_elem_next(elem)) {
        if (!snd_mixer_selem_is_active(elem) || !snd_mixer_selem_has_playback_volume(elem)) {
            continue;
        }
        if (std::string_view(snd_mixer_selem_get_name(elem)) == PREFERRED_ELEMENT) {
            return elem;
        }
        if (fallback == nullptr) {
            fallback = elem;
        }
    }
    return fallback;
}

}  // namespace

void AlsaMixer::MixerCloser::operator()(snd_mixer_t* mixer) const {
    snd_mixer_close(mixer);
}

AlsaMixer::AlsaMixer() = default;
AlsaMixer::~AlsaMixer() = default;

bool AlsaMixer::Open() {
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) {
        return false;
    }
    std::unique_ptr<snd_mixer_t, MixerCloser> mixer(raw);
    if (snd_mixer_attach(raw, CARD) < 0 || snd_mixer_selem_register(raw, nullptr, nullptr) < 0 ||
        snd_mixer_load(raw) < 0) {
        return false;
    }
    element_ = FindVolumeElement(raw);
    mixer_ = std::move(mixer);
    return true;
}

std::int32_t AlsaMixer::GetMasterVolume() {
    if (element_ == nullptr) {
        return 0;
    }
    // Pick up changes made by other programs since the last call.
    snd_mixer_handle_events(mixer_.get());
    long min = 0;
    long max = 0;
    long value = 0;
    if (snd_mixer_selem_get_playback_volume_range(element_, &min, &max) < 0 || max <= min ||
        snd_mixer_selem_get_playback_volume(element_, SND_MIXER_SCHN_FRONT_LEFT, &value) < 0) {
        return 0;
    }
    const double share = static_cast<double>(value - min) / static_cast<double>(max - min);
    return static_cast<std::int32_t>(std::lround(share * VOLUME_SLIDER_MAX));
}

bool AlsaMixer::SetMasterVolume(std::int32_t value) {
    if (element_ == nullptr) {
        return false;
    }
    long min = 0;
    long max = 0;
    if (snd_mixer_selem_get_playback_volume_range(element_, &min, &max) < 0 || max <= min) {
        return false;
    }
    const double share = std::clamp(static_cast<double>(value) / VOLUME_SLIDER_MAX, 0.0, 1.0);
    const long raw = min + std::lround(share * static_cast<double>(max - min));
    return snd_mixer_selem_set_playback_volume_all(element_, raw) == 0;
}

}  // namespace tunvell
