#include "app/core/player_state.h"

namespace tunvell {

void ReleaseGlobals(PlayerState& state) {
    state.nowPlayingText.clear();
    state.spectrum.reset();
    state.playMode.clear();
    state.autoPlay.clear();
}

}  // namespace tunvell
