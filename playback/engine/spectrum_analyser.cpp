#include "playback/engine/spectrum_analyser.h"

#include <kiss_fftr.h>

#include <array>
#include <cmath>
#include <numbers>

namespace tunvell::engine {

namespace {

struct ConfigDeleter {
    void operator()(kiss_fftr_state* config) const { kiss_fftr_free(config); }
};

}  // namespace

struct SpectrumAnalyser::Work {
    std::unique_ptr<kiss_fftr_state, ConfigDeleter> config{
        kiss_fftr_alloc(FFT_SIZE, 0, nullptr, nullptr)};
    std::array<float, FFT_SIZE> window{};
    std::array<float, FFT_SIZE> windowed{};
    std::array<kiss_fft_cpx, FFT_SIZE / 2 + 1> bins{};
};

SpectrumAnalyser::SpectrumAnalyser() : work_(std::make_unique<Work>()) {
    // Periodic Hann window: its coherent gain is exactly one half.
    for (int n = 0; n < FFT_SIZE; ++n) {
        work_->window[static_cast<size_t>(n)] = static_cast<float>(
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / static_cast<double>(FFT_SIZE)));
    }
}

SpectrumAnalyser::~SpectrumAnalyser() = default;

bool SpectrumAnalyser::Analyse(std::span<const float, FFT_SIZE> samples,
                               std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) {
    if (!work_->config) {
        return false;
    }
    for (size_t n = 0; n < samples.size(); ++n) {
        work_->windowed[n] = samples[n] * work_->window[n];
    }
    kiss_fftr(work_->config.get(), work_->windowed.data(), work_->bins.data());
    constexpr float scale = 2.0f / FFT_SIZE;
    for (size_t k = 0; k < magnitudes.size(); ++k) {
        // Magnitudes are far from float's limits, so the plain root is exact
        // enough and much cheaper than hypot's overflow care.
        const float re = work_->bins[k].r;
        const float im = work_->bins[k].i;
        magnitudes[k] = std::sqrt(re * re + im * im) * scale;
    }
    return true;
}

}  // namespace tunvell::engine
