#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <QString>

namespace tunvell {

using StreamHandle = std::uint32_t;

inline constexpr int SPECTRUM_BIN_COUNT = 512;

// The four arrays the spectrum keeps from tick to tick; they are created once at
// start-up and never resized, so the 30 ms tick allocates nothing.
struct SpectrumBuffers {
    std::array<float, SPECTRUM_BIN_COUNT> bins{};
    std::array<float, SPECTRUM_BIN_COUNT> binCopy{};
    std::array<float, SPECTRUM_BIN_COUNT> levels{};
    std::array<std::int32_t, SPECTRUM_BIN_COUNT> caps{};
};

// The one record of values that several subsystems read and write. The process
// owns exactly one; handlers receive it by reference.
struct PlayerState {
    StreamHandle currentStream = 0;  // the stream opened last; freeing it does not clear this
    QString nowPlayingText;          // item text started last by PlaySelectedSong or loop mode
    bool pathFound = false;          // result of the last database lookup, tested at once
    std::unique_ptr<SpectrumBuffers> spectrum;  // null until AllocateSpectrumBuffers
    std::int32_t spectrumHeight = 0;
    std::int32_t spectrumBarWidth = 0;
    QString playMode;  // "0" random, "1" loop, anything else: no automatic advance
    QString autoPlay;  // "1" starts the progress timer at start-up
};

// Releases the texts and arrays of the state record; safe to call more than once.
void ReleaseGlobals(PlayerState& state);

}  // namespace tunvell
