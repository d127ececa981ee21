#pragma once

#include <memory>

#include "playback/audio_output.h"

namespace tunvell {

// The real audio engine: libmpg123 decoding, SDL2 output.
std::unique_ptr<AudioOutput> MakeAudioEngine();

}  // namespace tunvell
