// One spectrum tick, timed: with a scripted FFT (drawing and levels only) and
// with a real 1024-point KissFFT in front of it, each beside a reference taken
// in the same run: clearing the interior image alone, and the FFT alone.
//
// Usage: bench_spectrum [frames per sample]   (runs offscreen unless a display is set)
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include <kissfft/kiss_fftr.h>

#include <QApplication>

#include "app/core/player_state.h"
#include "playback/audio_output.h"
#include "spectrum/spectrum.h"
#include "spectrum/spectrum_canvas.h"

namespace {

using tunvell::FFT_MAGNITUDE_COUNT;
using tunvell::StreamHandle;

constexpr int FFT_SIZE = 1024;
constexpr int SAMPLE_RATE = 44100;
constexpr int SAMPLES_PER_TICK = SAMPLE_RATE * 30 / 1000;
constexpr double TICK_MICROSECONDS = 30000.0;

// An output whose only working operation is the FFT read; `magnitudes` is
// filled by the subclass.
class BenchOutput : public tunvell::AudioOutput {
public:
    bool Init() override { return true; }
    void Free() override {}
    StreamHandle StreamCreateFile(const QString&) override { return 1; }
    bool StreamFree(StreamHandle) override { return true; }
    bool ChannelPlay(StreamHandle, bool) override { return true; }
    bool ChannelPause(StreamHandle) override { return true; }
    bool ChannelStop(StreamHandle) override { return true; }
    int ChannelIsActive(StreamHandle) override { return tunvell::ACTIVE_PLAYING; }
    std::int64_t ChannelGetLength(StreamHandle) override { return 0; }
    std::int64_t ChannelGetPosition(StreamHandle) override { return 0; }
    bool ChannelSetPosition(StreamHandle, std::int64_t) override { return true; }
};

// A music-like signal: a few tones that come and go over a little noise.
std::vector<float> MakeSignal(int seconds) {
    std::vector<float> signal(static_cast<std::size_t>(seconds) * SAMPLE_RATE);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.02f, 0.02f);
    constexpr std::array<double, 4> tones{110.0, 440.0, 1250.0, 3300.0};
    for (std::size_t n = 0; n < signal.size(); ++n) {
        const double t = static_cast<double>(n) / SAMPLE_RATE;
        double sample = 0.0;
        for (std::size_t k = 0; k < tones.size(); ++k) {
            const double swell = 0.5 + 0.5 * std::sin(2.0 * std::numbers::pi * (0.3 + k * 0.2) * t);
            sample += 0.2 * swell * std::sin(2.0 * std::numbers::pi * tones[k] * t);
        }
        signal[n] = static_cast<float>(sample) + noise(random);
    }
    return signal;
}

// Frames of magnitudes computed once and handed out in turn: the tick without
// the FFT.
class ScriptedFft final : public BenchOutput {
public:
    explicit ScriptedFft(const std::vector<std::array<float, FFT_MAGNITUDE_COUNT>>& frames)
        : frames_(frames) {}
    int ChannelGetData(StreamHandle, std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) override {
        const auto& frame = frames_[next_];
        next_ = (next_ + 1) % frames_.size();
        std::copy(frame.begin(), frame.end(), magnitudes.begin());
        return FFT_MAGNITUDE_COUNT * static_cast<int>(sizeof(float));
    }

private:
    const std::vector<std::array<float, FFT_MAGNITUDE_COUNT>>& frames_;
    std::size_t next_ = 0;
};

// A real FFT of the last 1024 samples, moving on by one tick's worth each call:
// Hann window, magnitudes |X_k| * 2 / 1024, as the engine delivers them.
class KissFft final : public BenchOutput {
public:
    explicit KissFft(const std::vector<float>& signal)
        : signal_(signal), config_(kiss_fftr_alloc(FFT_SIZE, 0, nullptr, nullptr)) {
        for (int n = 0; n < FFT_SIZE; ++n) {
            window_[n] =
                static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / FFT_SIZE));
        }
    }
    int ChannelGetData(StreamHandle, std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) override {
        if (start_ + FFT_SIZE > signal_.size()) {
            start_ = 0;
        }
        for (int n = 0; n < FFT_SIZE; ++n) {
            windowed_[n] = signal_[start_ + n] * window_[n];
        }
        start_ += SAMPLES_PER_TICK;
        kiss_fftr(config_.get(), windowed_.data(), spectrum_.data());
        for (int k = 0; k < FFT_MAGNITUDE_COUNT; ++k) {
            magnitudes[k] =
                std::sqrt(spectrum_[k].r * spectrum_[k].r + spectrum_[k].i * spectrum_[k].i) *
                (2.0f / FFT_SIZE);
        }
        return FFT_MAGNITUDE_COUNT * static_cast<int>(sizeof(float));
    }

private:
    struct FreeConfig {
        void operator()(kiss_fftr_cfg config) const { kiss_fftr_free(config); }
    };
    const std::vector<float>& signal_;
    std::unique_ptr<kiss_fftr_state, FreeConfig> config_;
    std::array<float, FFT_SIZE> window_{};
    std::array<float, FFT_SIZE> windowed_{};
    std::array<kiss_fft_cpx, FFT_SIZE / 2 + 1> spectrum_{};
    std::size_t start_ = 0;
};

struct Timing {
    double median = 0.0;  // microseconds per call
    double best = 0.0;
};

// The time per call over several samples: the median, and the best sample,
// which is the one least disturbed by other work on a shared machine.
Timing MicrosecondsPerCall(int callsPerSample, const std::function<void()>& call) {
    constexpr int samples = 15;
    std::array<double, samples> perCall{};
    for (int warm = 0; warm < callsPerSample / 10 + 1; ++warm) {
        call();
    }
    for (double& result : perCall) {
        const auto start = std::chrono::steady_clock::now();
        for (int n = 0; n < callsPerSample; ++n) {
            call();
        }
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        result = spent.count() / callsPerSample;
    }
    std::sort(perCall.begin(), perCall.end());
    return {perCall[samples / 2], perCall.front()};
}

void Report(const char* what, Timing timing) {
    std::printf("  %-50s %8.2f us (best %7.2f)  %6.3f%% of a 30 ms tick\n", what, timing.median,
                timing.best, 100.0 * timing.median / TICK_MICROSECONDS);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;

    const std::vector<float> signal = MakeSignal(10);
    KissFft fft(signal);
    std::vector<std::array<float, FFT_MAGNITUDE_COUNT>> frames(64);
    for (auto& frame : frames) {
        fft.ChannelGetData(1, frame);
    }
    ScriptedFft scripted(frames);

    tunvell::PlayerState state;
    tunvell::AllocateSpectrumBuffers(state);
    state.currentStream = 1;
    state.spectrumHeight = 45;
    tunvell::SpectrumCanvas canvas;
    canvas.resize(204, 45);
    canvas.show();  // a visible canvas, so that each tick's repaint request is real work

    std::array<float, FFT_MAGNITUDE_COUNT> sink{};
    std::printf("One spectrum tick: median (and best) of 15 samples of %d calls\n", calls);
    Report("reference: clearing the 202 x 43 image alone",
           MicrosecondsPerCall(calls, [&canvas] { canvas.Clear(); }));
    for (const int width : {7, 1}) {
        state.spectrumBarWidth = width;
        std::printf("width %d\n", width);
        Report("tick, scripted FFT (FFT excluded)", MicrosecondsPerCall(calls, [&] {
                   tunvell::DrawSpectrumFrame(state, scripted, canvas);
               }));
        Report("reference: 1024-point KissFFT with window, alone",
               MicrosecondsPerCall(calls, [&] { fft.ChannelGetData(1, sink); }));
        Report("tick, KissFFT included",
               MicrosecondsPerCall(calls, [&] { tunvell::DrawSpectrumFrame(state, fft, canvas); }));
    }
    QImage window(canvas.size(), QImage::Format_RGB32);
    Report("painting the canvas into an image (edge and copy)",
           MicrosecondsPerCall(calls / 4 + 1, [&canvas, &window] { canvas.render(&window); }));
    return 0;
}
