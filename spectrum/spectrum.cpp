#include "spectrum/spectrum.h"

#include "app/core/player_state.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell {

void AllocateSpectrumBuffers(PlayerState& state) {
    state.spectrum = std::make_unique<SpectrumBuffers>();
}

// Filled by the spectrum work.
void DrawSpectrumFrame(PlayerState& /*state*/, AudioOutput& /*audio*/, SpectrumCanvas& canvas) {
    canvas.Clear();
}

}  // namespace tunvell
