#include "playback/transport.h"

namespace tunvell {

Transport::Transport(TransportControls controls, PlayerState& state, AudioOutput& audio,
                     Prompts& prompts, RandomSource& random)
    : c_(controls), state_(state), audio_(audio), prompts_(prompts), random_(random) {}

// Filled by the playback work.
void Transport::StartStream(const QString& /*path*/, bool /*reportFailure*/) {}
void Transport::PlaySelectedSong() {}
void Transport::TogglePlayPause() {}
void Transport::StopPlayback() {}
void Transport::PlayNext() {}
void Transport::PlayPrevious() {}
void Transport::SeekToSliderPosition() {}
void Transport::ProgressTick() {}
void Transport::RemoveMissingSong(const QString& /*itemText*/) {}

}  // namespace tunvell
