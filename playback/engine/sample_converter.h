#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "playback/engine/device_format.h"

struct _SDL_AudioStream;

namespace tunvell::engine {

// Turns interleaved 16-bit frames of a file's rate and channel count into
// float frames of the device (rate conversion and channel mapping). Queues
// internally: what was put in comes out later, in any portions.
class SampleConverter {
public:
    // nullptr when the conversion cannot be set up.
    static std::unique_ptr<SampleConverter> Create(int rate, int channels,
                                                   const DeviceFormat& device);
    ~SampleConverter();
    SampleConverter(const SampleConverter&) = delete;
    SampleConverter& operator=(const SampleConverter&) = delete;

    bool Put(std::span<const std::int16_t> samples);
    // Device frames ready to be taken.
    std::int64_t AvailableFrames() const;
    // Takes up to out.size() / channels device frames; returns the frames taken.
    std::int64_t Get(std::span<float> out);
    // No more input: what is still inside becomes available.
    void Flush();
    // Forgets everything queued (after a seek).
    void Clear();

private:
    SampleConverter(_SDL_AudioStream* stream, int deviceChannels);

    struct StreamDeleter {
        void operator()(_SDL_AudioStream* stream) const;
    };
    std::unique_ptr<_SDL_AudioStream, StreamDeleter> stream_;
    int bytesPerDeviceFrame_;
};

}  // namespace tunvell::engine
