#pragma once

#include <memory>

#include <QDialog>

#include "app/core/period_timer.h"

namespace Ui {
class SettingsWindow;
}

namespace tunvell {

class LocalClock;
class SettingsFile;
class SpectrumCanvas;
struct PlayerState;

// 播放设置: views the five settings and applies them to the running player and
// the settings file. Created anew for every opening; the controls always show
// the file (or its absence), never the running player's values.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    SettingsWindow(SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas,
                   LocalClock& clock, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    Ui::SettingsWindow& Controls() { return *ui_; }

    // Creation: starts the clock and fills the controls from the file.
    void InitSettingsWindow();
    // 应用设置: the running player takes the controls' values at once, then the
    // file; a failed write stops the rest and keeps the button disabled.
    void ApplySettings();
    // 恢复默认: the controls only; nothing is saved or applied.
    void RestoreDefaultSettings();

    // The clock of part 0 of the status bar.
    PeriodTimer 时钟1;

private:
    void ShowDefaults();
    void ShowMessage(const QString& text);
    void ConnectReports();
    bool SaveControls();

    std::unique_ptr<Ui::SettingsWindow> ui_;
    SettingsFile& file_;
    PlayerState& state_;
    SpectrumCanvas& mainCanvas_;
    LocalClock& clock_;
};

}  // namespace tunvell
