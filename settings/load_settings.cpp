#include "settings/load_settings.h"

#include "app/core/player_state.h"
#include "settings/settings_file.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell {

// Filled by the settings work; until then the no-file defaults.
void LoadSettings(const SettingsFile& /*file*/, PlayerState& state, SpectrumCanvas& mainCanvas) {
    state.spectrumBarWidth = 7;
    state.playMode = QStringLiteral("0");
    state.autoPlay = QStringLiteral("0");
    mainCanvas.SetPenColor(DEFAULT_SPECTRUM_PEN);
    mainCanvas.SetBackgroundColor(DEFAULT_SPECTRUM_BACKGROUND);
}

}  // namespace tunvell
