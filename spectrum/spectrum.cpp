#include "spectrum/spectrum.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "app/core/player_state.h"
#include "playback/audio_output.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell {

namespace {

// Bins 0..510 are shown; the last magnitude is read but never used.
constexpr int SHOWN_BIN_COUNT = SPECTRUM_BIN_COUNT - 1;

// Truncates toward zero like a plain conversion, but saturates instead of
// overflowing; positions stay far inside the range for any sane canvas height.
int TruncToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double low = std::numeric_limits<int>::min();
    constexpr double high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(value, low, high));
}

int SaturateToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The level of bin i - 1 rises at once to a louder value and otherwise falls by
// 3 a tick until it is at most 2. The candidate is 80·b·(1 + (200 - i)/4): a
// gain of 4060 for the lowest bin, 20 less for each bin after it, 0 at i = 204
// and negative beyond, so the high bins never rise. Each step is taken in
// doubles in this order and rounded to a float only where it is stored: a bar
// edge is a truncated level, so one rounding more moves it by a pixel.
void UpdateLevel(SpectrumBuffers& buffers, int i, std::int32_t height) {
    const int k = i - 1;
    buffers.binCopy[k] = buffers.bins[k];
    const double bin = buffers.binCopy[k];
    double part = bin * static_cast<double>(200 - i);
    part = part * 0.25;
    const double scaled = bin + part;
    const double candidate = scaled * 80.0;

    float& level = buffers.levels[k];
    if (candidate > static_cast<double>(level)) {
        level = static_cast<float>(candidate);
    } else if (static_cast<double>(level) > 2.0) {
        level = static_cast<float>(static_cast<double>(level) - 3.0);
    }
    if (static_cast<double>(level) > static_cast<double>(height)) {
        level = static_cast<float>(height);
    }
}

// Draws the bar that ends at bin i - 1 and covers the width + 1 bins before it:
// an outline whose bottom lies below the canvas, and its cap, which jumps to the
// bar and sinks a pixel a tick to a floor of 1.
void DrawBar(SpectrumBuffers& buffers, int i, int width, std::int32_t height,
             SpectrumCanvas& canvas) {
    const int binsPerBar = width + 1;
    float sum = 0.0f;
    for (int j = 1; j <= binsPerBar; ++j) {
        sum = static_cast<float>(static_cast<double>(sum) +
                                 static_cast<double>(buffers.levels[i - j]));
    }
    // Rounded to a float like the sum, then used as a double.
    const double average =
        static_cast<float>(static_cast<double>(sum) / static_cast<double>(binsPerBar));

    const int left = i - 1 - width;
    const int right = i - 1;
    const double h = height;
    canvas.Rectangle(left, TruncToInt(h - average), right, TruncToInt(2.0 * h - average));

    std::int32_t& cap = buffers.caps[i - 1];
    if (average > static_cast<double>(cap)) {
        cap = TruncToInt(average);
    } else if (cap > 1) {
        cap = cap - 1;
    } else {
        cap = 1;
    }
    canvas.Line(left, SaturateToInt(std::int64_t{height} - cap - 1), right);
}

}  // namespace

void AllocateSpectrumBuffers(PlayerState& state) {
    state.spectrum = std::make_unique<SpectrumBuffers>();
}

void DrawSpectrumFrame(PlayerState& state, AudioOutput& audio, SpectrumCanvas& canvas) {
    canvas.Clear();
    if (state.currentStream != 0 && state.spectrum) {
        SpectrumBuffers& buffers = *state.spectrum;
        if (audio.ChannelGetData(state.currentStream, buffers.bins) != -1) {
            const std::int32_t width = state.spectrumBarWidth;
            const std::int32_t height = state.spectrumHeight;
            // A width below 0 (only from a hand-edited settings file) forms no
            // bars: -1 would put no bins in a bar and average by dividing by
            // zero, lower values would give bars of negative width. The levels
            // still move, so a later usable width starts from the music.
            // Counting up to the next bar end spares a division per bin.
            const std::int64_t binsPerBar = std::int64_t{width} + 1;
            std::int64_t nextBarEnd = width >= 0 ? binsPerBar : SHOWN_BIN_COUNT + 1;
            for (int i = 1; i <= SHOWN_BIN_COUNT; ++i) {
                UpdateLevel(buffers, i, height);
                if (i == nextBarEnd) {
                    DrawBar(buffers, i, width, height, canvas);
                    nextBarEnd += binsPerBar;
                }
            }
        }
    }
    canvas.Present();
}

}  // namespace tunvell
