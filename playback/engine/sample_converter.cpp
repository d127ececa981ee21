#include "playback/engine/sample_converter.h"

#include <SDL.h>

namespace tunvell::engine {

void SampleConverter::StreamDeleter::operator()(SDL_AudioStream* stream) const {
    SDL_FreeAudioStream(stream);
}

std::unique_ptr<SampleConverter> SampleConverter::Create(int rate, int channels,
                                                         const DeviceFormat& device) {
    SDL_AudioStream* stream =
        SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(channels), rate, AUDIO_F32SYS,
                           static_cast<Uint8>(device.channels), device.rate);
    if (stream == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SampleConverter>(new SampleConverter(stream, device.channels));
}

SampleConverter::SampleConverter(SDL_AudioStream* stream, int deviceChannels)
    : stream_(stream), bytesPerDeviceFrame_(deviceChannels * static_cast<int>(sizeof(float))) {}

SampleConverter::~SampleConverter() = default;

bool SampleConverter::Put(std::span<const std::int16_t> samples) {
    return SDL_AudioStreamPut(stream_.get(), samples.data(),
                              static_cast<int>(samples.size_bytes())) == 0;
}

std::int64_t SampleConverter::AvailableFrames() const {
    return SDL_AudioStreamAvailable(stream_.get()) / bytesPerDeviceFrame_;
}

std::int64_t SampleConverter::Get(std::span<float> out) {
    const int frames = static_cast<int>(out.size_bytes()) / bytesPerDeviceFrame_;
    const int bytes = SDL_AudioStreamGet(stream_.get(), out.data(), frames * bytesPerDeviceFrame_);
    return bytes > 0 ? bytes / bytesPerDeviceFrame_ : 0;
}

void SampleConverter::Flush() {
    SDL_AudioStreamFlush(stream_.get());
}

void SampleConverter::Clear() {
    SDL_AudioStreamClear(stream_.get());
}

}  // namespace tunvell::engine
