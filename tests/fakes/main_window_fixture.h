#pragma once

#include <memory>

#include "app/core/player_state.h"
#include "app/main_window.h"
#include "app/main_window_controls.h"
#include "tests/fakes/fake_audio_output.h"
#include "tests/fakes/fake_mixer.h"
#include "tests/fakes/fake_prompts.h"
#include "tests/fakes/fixed_clock.h"
#include "tests/fakes/scripted_random.h"
#include "tests/fakes/temp_program_dir.h"

namespace tunvell::testing {

// A real MainWindow wired to fakes, living in its own temporary program
// directory (also the current directory). The window is created but StartPlayer
// has not run; call Start() for that.
class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    void Start();

    MainWindow& Window() { return *window_; }
    Ui::MainWindow& Controls() { return window_->Controls(); }
    Transport& Player() { return window_->TransportHandlers(); }

    // Fills "name.edb" of the program directory with these paths, in order.
    void WriteSongDatabase(const QStringList& paths);
    // Appends items to the song list as they are, without the store.
    void AddListItems(const QStringList& texts);

    TempProgramDir dir;
    PlayerState state;
    FakeAudioOutput audio;
    FakeMixer mixer;
    FakePrompts prompts;
    FixedClock clock;
    ScriptedRandom random;

private:
    std::unique_ptr<MainWindow> window_;
};

}  // namespace tunvell::testing
