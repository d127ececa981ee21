#include "settings/load_settings.h"

#include "app/core/player_state.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell {

// Start-up reads missing keys as random play, no auto-play and width 7; the
// settings window reads the same file with other defaults, on purpose.
void LoadSettings(const SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas) {
    ColorRef background = DEFAULT_SPECTRUM_BACKGROUND;
    if (file.Exists()) {
        state.spectrumBarWidth =
            SettingsNumber(file.Read(SECTION_POSITION, KEY_BAR_WIDTH, QStringLiteral("7")));
        state.playMode = file.Read(SECTION_MODE, KEY_PLAY_MODE, QStringLiteral("0"));
        state.autoPlay = file.Read(SECTION_AUTORUN, KEY_AUTO_PLAY, QStringLiteral("0"));
        const QString pen = file.Read(SECTION_COLOR, KEY_PEN_COLOR);
        const QString back = file.Read(SECTION_COLOR, KEY_BACKGROUND_COLOR);
        mainCanvas.SetPenColor(SettingsColor(pen, DEFAULT_SPECTRUM_PEN));
        background = SettingsColor(back, DEFAULT_SPECTRUM_BACKGROUND);
    } else {
        state.spectrumBarWidth = DEFAULT_BAR_WIDTH;
        state.playMode = QStringLiteral("0");
        state.autoPlay = QStringLiteral("0");
        mainCanvas.SetPenColor(DEFAULT_SPECTRUM_PEN);
    }
    mainCanvas.SetBackgroundColor(background);
}

}  // namespace tunvell
