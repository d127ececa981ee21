#pragma once

#include <QDialog>

namespace tunvell {

class LocalClock;
class SettingsFile;
class SpectrumCanvas;
struct PlayerState;

// 播放设置: views the five settings and applies them to the running player and
// the settings file. Created anew for every opening.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas,
                   LocalClock& clock, QWidget* parent = nullptr);
    ~SettingsWindow() override;

private:
    SettingsFile& file_;
    PlayerState& state_;
    SpectrumCanvas& mainCanvas_;
    LocalClock& clock_;
};

}  // namespace tunvell
