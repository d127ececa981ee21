#pragma once

#include <cstdint>

namespace tunvell::engine {

// The device's buffer asked of SDL: about 186 ms at 44.1 kHz, as much as a
// desktop sound stack usually keeps queued. Through PulseAudio the audio
// thread wakes four times per buffer and each wake-up costs far more than the
// mixing, so the buffer's length sets most of what that thread spends; pause
// and stop are still heard within a fifth of a second.
constexpr std::int64_t DEVICE_BUFFER_FRAMES = 8192;

// What the output device takes: interleaved 32-bit float frames.
struct DeviceFormat {
    int rate = 44100;
    int channels = 2;
    // Frames between the newest frame handed to the device and the frame
    // being heard: the device's buffer.
    std::int64_t latencyFrames = 0;
};

}  // namespace tunvell::engine
