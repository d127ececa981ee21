#pragma once

#include <QString>

namespace tunvell {

class AudioOutput;
class LocalClock;
class Mixer;
class Prompts;
class RandomSource;
struct PlayerState;

// The collaborators the main window hands to the handlers: the state record and
// every seam to the outside world.
struct Services {
    PlayerState& state;
    AudioOutput& audio;
    Mixer& mixer;
    Prompts& prompts;
    LocalClock& clock;
    RandomSource& random;
    QString programDirectory;  // holds "config.ini"; "name.edb" is found in the current directory
};

}  // namespace tunvell
