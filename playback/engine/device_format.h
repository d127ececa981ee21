#pragma once

#include <cstdint>

namespace tunvell::engine {

// What the output device takes: interleaved 32-bit float frames.
struct DeviceFormat {
    int rate = 44100;
    int channels = 2;
    // Frames between the newest frame handed to the device and the frame
    // being heard: the device's buffer.
    std::int64_t latencyFrames = 0;
};

}  // namespace tunvell::engine
