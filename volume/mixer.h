#pragma once

#include <cstdint>

namespace tunvell {

// The computer's master volume on the scale 0..32767, where 32767 is the
// mixer's full volume.
class Mixer {
public:
    virtual ~Mixer() = default;

    // Attaches to the system mixer; false when there is none.
    virtual bool Open() = 0;
    // The master volume, or 0 when it cannot be read.
    virtual std::int32_t GetMasterVolume() = 0;
    // True when the mixer accepted the value.
    virtual bool SetMasterVolume(std::int32_t value) = 0;
};

}  // namespace tunvell
