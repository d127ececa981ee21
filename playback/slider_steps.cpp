#include <climits>
#include <cmath>

#include "playback/audio_output.h"

namespace tunvell {

int BytesToSliderSteps(std::int64_t bytes) {
    const double steps = static_cast<double>(bytes) / static_cast<double>(BYTES_PER_SLIDER_STEP);
    // The nudge goes on the magnitude before rounding, halves away from zero.
    const double magnitude = std::floor((std::fabs(steps) + 1e-12) + 0.5);
    const double rounded = steps < 0 ? -magnitude : magnitude;
    // Byte counts beyond what an int of steps can hold (about 379 TB) saturate
    // instead of overflowing.
    if (rounded >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (rounded <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(rounded);
}

std::int64_t SliderStepsToBytes(int steps) {
    // Every int times 176828 is exact in a double and fits in 64 bits.
    return static_cast<std::int64_t>(static_cast<double>(steps) *
                                     static_cast<double>(BYTES_PER_SLIDER_STEP));
}

}  // namespace tunvell
