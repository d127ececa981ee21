#pragma once

#include <memory>
#include <span>

#include "playback/audio_output.h"

namespace tunvell::engine {

inline constexpr int FFT_SIZE = 2 * FFT_MAGNITUDE_COUNT;

// A 1024-point real FFT behind a Hann window, giving |X_k| * 2 / 1024 for
// k = 0..511: a full-scale sine centred on a bin reads about 0.5. All memory
// is taken once, at construction, so an analysis never allocates.
class SpectrumAnalyser {
public:
    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // False only when the FFT could not be set up.
    bool Analyse(std::span<const float, FFT_SIZE> samples,
                 std::span<float, FFT_MAGNITUDE_COUNT> magnitudes);

private:
    struct Work;
    std::unique_ptr<Work> work_;
};

}  // namespace tunvell::engine
