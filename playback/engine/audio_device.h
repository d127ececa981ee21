#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "playback/engine/device_format.h"

namespace tunvell::engine {

// Something the device callback adds into each output buffer.
class MixSource {
public:
    virtual ~MixSource() = default;
    // Runs on the audio thread: adds interleaved device frames into `out`.
    // Must not allocate, do I/O or wait on a lock held for long.
    virtual void MixInto(std::span<float> out) = 0;
};

// The default SDL output device, open from construction to destruction, with
// every attached source mixed into it.
class AudioDevice {
public:
    // nullptr when SDL has no usable output device.
    static std::unique_ptr<AudioDevice> Open();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    const DeviceFormat& Format() const { return format_; }

    // Once Detach returns, the callback no longer touches the source.
    void Attach(MixSource* source);
    void Detach(MixSource* source);

private:
    AudioDevice() = default;
    static void Callback(void* self, std::uint8_t* bytes, int length);

    std::uint32_t device_ = 0;
    DeviceFormat format_;
    std::vector<MixSource*> sources_;  // guarded by the SDL device lock
};

}  // namespace tunvell::engine
