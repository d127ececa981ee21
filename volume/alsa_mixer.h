#pragma once

#include <memory>

#include "volume/mixer.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace tunvell {

// The master volume of ALSA's "default" card (PulseAudio or PipeWire on a
// desktop). The element "Master" is preferred; a card without one falls back to
// its first element with a playback volume. The element's whole range maps onto
// 0..32767.
class AlsaMixer final : public Mixer {
public:
    AlsaMixer();
    ~AlsaMixer() override;

    bool Open() override;
    std::int32_t GetMasterVolume() override;
    bool SetMasterVolume(std::int32_t value) override;

private:
    struct MixerCloser {
        void operator()(snd_mixer_t* mixer) const;
    };
    std::unique_ptr<snd_mixer_t, MixerCloser> mixer_;
    snd_mixer_elem_t* element_ = nullptr;  // owned by mixer_
};

}  // namespace tunvell
