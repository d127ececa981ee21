#pragma once

#include <memory>

#include "app/core/player_state.h"
#include "settings/settings_file.h"
#include "settings/settings_window.h"
#include "settings/settings_window_controls.h"
#include "spectrum/spectrum_canvas.h"
#include "tests/fakes/fixed_clock.h"
#include "tests/fakes/temp_program_dir.h"
#include "tests/settings/settings_test_files.h"

namespace tunvell::testing {

// A settings window over a real "config.ini" in a temporary program directory,
// a state record and a main canvas of its own. Open() creates the window after
// the test has put the file it wants in place.
struct SettingsWindowRig {
    TempProgramDir dir;
    SettingsFile file{SettingsPathIn(dir.Path())};
    PlayerState state;
    SpectrumCanvas mainCanvas;
    FixedClock clock;
    std::unique_ptr<SettingsWindow> window;

    SettingsWindow& Open() {
        window = std::make_unique<SettingsWindow>(file, state, mainCanvas, clock);
        return *window;
    }
    Ui::SettingsWindow& Controls() { return window->Controls(); }
    QString Message() { return Controls().状态条1->PartText(1); }
    QByteArray FileText() { return FileBytes(file.Path()); }
};

}  // namespace tunvell::testing
