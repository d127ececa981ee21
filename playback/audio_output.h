#pragma once

#include <cstdint>
#include <span>

#include <QString>

#include "app/core/player_state.h"

namespace tunvell {

// What ChannelIsActive answers. Callers only rely on PLAYING and PAUSED; any
// other value means "not playing".
inline constexpr int ACTIVE_STOPPED = 0;
inline constexpr int ACTIVE_PLAYING = 1;
inline constexpr int ACTIVE_STALLED = 2;
inline constexpr int ACTIVE_PAUSED = 3;

inline constexpr int FFT_MAGNITUDE_COUNT = 512;

// The audio operations the player calls, all from the user-interface thread.
// Every operation accepts a handle of 0 or one already freed: it does nothing
// and gives its failure value (false, 0 or -1), because the player frees
// streams without forgetting their handles.
//
// Lengths and positions are bytes of decoded 16-bit PCM in the file's own
// sample rate and channel count.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Opens the default output device; false when there is none.
    virtual bool Init() = 0;
    // Stops everything and closes the device; streams become invalid.
    virtual void Free() = 0;

    // A new stream over the file, not yet playing; 0 when the file cannot be
    // opened or holds no MPEG audio.
    virtual StreamHandle StreamCreateFile(const QString& path) = 0;
    virtual bool StreamFree(StreamHandle handle) = 0;

    // restart false: a new or stopped stream plays from where it stands (a new
    // one from its start), a paused one resumes where it stopped.
    virtual bool ChannelPlay(StreamHandle handle, bool restart) = 0;
    virtual bool ChannelPause(StreamHandle handle) = 0;
    virtual bool ChannelStop(StreamHandle handle) = 0;
    // A stream that played to its end reports "stopped" once its last sound
    // has been heard.
    virtual int ChannelIsActive(StreamHandle handle) = 0;

    virtual std::int64_t ChannelGetLength(StreamHandle handle) = 0;    // -1 on failure
    virtual std::int64_t ChannelGetPosition(StreamHandle handle) = 0;  // heard now; -1 on failure
    // Sample-accurate; a place past the end moves to the end (a playing
    // stream then ends), a negative one fails. Does not change the activity.
    virtual bool ChannelSetPosition(StreamHandle handle, std::int64_t bytes) = 0;

    // The 512 magnitudes of a 1024-point FFT of the last frames heard; returns -1
    // on failure (and leaves `magnitudes` unspecified), anything else on success.
    // Fails too while nothing of the stream has been heard yet.
    virtual int ChannelGetData(StreamHandle handle,
                               std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) = 0;
};

// One step of the progress slider stands for this many bytes.
inline constexpr std::int64_t BYTES_PER_SLIDER_STEP = 176828;

int BytesToSliderSteps(std::int64_t bytes);
std::int64_t SliderStepsToBytes(int steps);

}  // namespace tunvell
