#pragma once

#include <chrono>
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

// How much of its newest buffer the device has played out `elapsed` after
// taking it: the device plays steadily, and never more than the buffer.
inline std::int64_t FramesPlayedSince(std::chrono::nanoseconds elapsed,
                                      const DeviceFormat& device) {
    constexpr std::int64_t NANOSECONDS_PER_SECOND = 1'000'000'000;
    if (elapsed.count() <= 0 || device.rate <= 0) {
        return 0;
    }
    // Compared first, so that a long time cannot overflow the product below.
    if (elapsed.count() >= device.latencyFrames * NANOSECONDS_PER_SECOND / device.rate) {
        return device.latencyFrames;
    }
    return elapsed.count() * device.rate / NANOSECONDS_PER_SECOND;
}

}  // namespace tunvell::engine
