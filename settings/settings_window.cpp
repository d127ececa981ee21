#include "settings/settings_window.h"

namespace tunvell {

// Filled by the settings work.
SettingsWindow::SettingsWindow(SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas,
                               LocalClock& clock, QWidget* parent)
    : QDialog(parent), file_(file), state_(state), mainCanvas_(mainCanvas), clock_(clock) {
    setWindowTitle(QStringLiteral("播放设置"));
}

SettingsWindow::~SettingsWindow() = default;

}  // namespace tunvell
