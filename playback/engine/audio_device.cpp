#include "playback/engine/audio_device.h"

#include <SDL.h>

#include <algorithm>

namespace tunvell::engine {

namespace {

// Room for a couple of streams overlapping at a change of song without a
// reallocation while the callback is locked out.
constexpr size_t EXPECTED_SOURCES = 8;

// Keeps SDL's audio subsystem initialised for as long as it lives.
class AudioSubsystem {
public:
    AudioSubsystem() {
        // The player is a Qt program: SDL must not take over SIGINT/SIGTERM.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Tunvell");
        ok_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    ~AudioSubsystem() {
        if (ok_) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    AudioSubsystem(const AudioSubsystem&) = delete;
    AudioSubsystem& operator=(const AudioSubsystem&) = delete;
    bool Ok() const { return ok_; }
    // The device takes over the duty to quit the subsystem.
    void Release() { ok_ = false; }

private:
    bool ok_ = false;
};

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::Open() {
    AudioSubsystem subsystem;
    if (!subsystem.Ok()) {
        return nullptr;
    }
    std::unique_ptr<AudioDevice> device(new AudioDevice);
    device->sources_.reserve(EXPECTED_SOURCES);
    SDL_AudioSpec wanted{};
    wanted.freq = device->format_.rate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = static_cast<Uint8>(device->format_.channels);
    wanted.samples = static_cast<Uint16>(DEVICE_BUFFER_FRAMES);
    wanted.callback = &AudioDevice::Callback;
    wanted.userdata = device.get();
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware takes, so every
    // stream sees exactly 44.1 kHz stereo float.
    device->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device->device_ == 0) {
        return nullptr;
    }
    device->format_.latencyFrames = obtained.samples;
    subsystem.Release();
    SDL_PauseAudioDevice(device->device_, 0);
    return device;
}

AudioDevice::~AudioDevice() {
    // Closing waits for the audio thread to finish its last callback.
    SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::Attach(MixSource* source) {
    SDL_LockAudioDevice(device_);
    sources_.push_back(source);
    SDL_UnlockAudioDevice(device_);
}

void AudioDevice::Detach(MixSource* source) {
    SDL_LockAudioDevice(device_);
    std::erase(sources_, source);
    SDL_UnlockAudioDevice(device_);
}

void AudioDevice::Callback(void* self, std::uint8_t* bytes, int length) {
    auto* device = static_cast<AudioDevice*>(self);
    const std::span<float> out(reinterpret_cast<float*>(bytes),
                               static_cast<size_t>(length) / sizeof(float));
    std::fill(out.begin(), out.end(), 0.0f);
    for (MixSource* source : device->sources_) {
        source->MixInto(out);
    }
}

}  // namespace tunvell::engine
