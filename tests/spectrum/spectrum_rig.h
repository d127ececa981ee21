#pragma once

#include <vector>

#include <QMap>

#include "app/core/player_state.h"
#include "spectrum/spectrum.h"
#include "spectrum/spectrum_canvas.h"
#include "tests/fakes/fake_audio_output.h"
#include "tests/spectrum/expected_frame.h"

namespace tunvell::testing {

// Magnitudes by bin; every bin not named is silent.
using Bins = QMap<int, float>;

inline std::vector<float> Magnitudes(const Bins& bins) {
    std::vector<float> magnitudes(FFT_MAGNITUDE_COUNT, 0.0f);
    for (auto bin = bins.cbegin(); bin != bins.cend(); ++bin) {
        magnitudes.at(static_cast<std::size_t>(bin.key())) = bin.value();
    }
    return magnitudes;
}

// Magnitude 0.5 in `count` bins from `from` on: each level clamps at 45.
inline Bins LoudBins(int from = 0, int count = 8) {
    Bins bins;
    for (int k = from; k < from + count; ++k) {
        bins.insert(k, 0.5f);
    }
    return bins;
}

// A playing stream, the spectrum arrays and a canvas of the main window's size,
// ready for ticks.
struct SpectrumRig {
    SpectrumRig() {
        AllocateSpectrumBuffers(state);
        state.spectrumHeight = BAR_HEIGHT;
        state.spectrumBarWidth = 7;
        canvas.resize(204, 45);
        state.currentStream = PlayNewSong(QStringLiteral("/music/first.mp3"));
    }

    StreamHandle PlayNewSong(const QString& path) {
        audio.AddFile(path);
        const StreamHandle stream = audio.StreamCreateFile(path);
        audio.ChannelPlay(stream, false);
        return stream;
    }

    void Tick(const Bins& bins) {
        audio.SetFft(Magnitudes(bins));
        Tick();
    }
    void Tick() { DrawSpectrumFrame(state, audio, canvas); }

    SpectrumBuffers& Buffers() { return *state.spectrum; }

    PlayerState state;
    FakeAudioOutput audio;
    SpectrumCanvas canvas;
};

}  // namespace tunvell::testing
