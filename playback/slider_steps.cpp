#include <cmath>

#include "playback/audio_output.h"

namespace tunvell {

int BytesToSliderSteps(std::int64_t bytes) {
    const double steps = static_cast<double>(bytes) / static_cast<double>(BYTES_PER_SLIDER_STEP);
    // Halves round away from zero; the small nudge keeps 0.5 - epsilon from
    // flipping on binary noise.
    const double magnitude = std::floor(std::fabs(steps) + 0.5 + 1e-12);
    return static_cast<int>(steps < 0 ? -magnitude : magnitude);
}

std::int64_t SliderStepsToBytes(int steps) {
    return static_cast<std::int64_t>(static_cast<double>(steps) *
                                     static_cast<double>(BYTES_PER_SLIDER_STEP));
}

}  // namespace tunvell
