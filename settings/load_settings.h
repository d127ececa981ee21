#pragma once

namespace tunvell {

class SettingsFile;
class SpectrumCanvas;
struct PlayerState;

// Start-up: fills the bar width, play mode and auto-play of the state record and
// the colours of the main spectrum canvas from the file, or from the defaults.
void LoadSettings(const SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas);

}  // namespace tunvell
