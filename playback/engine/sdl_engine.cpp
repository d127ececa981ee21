#include <array>
#include <map>

#include "playback/engine.h"
#include "playback/engine/audio_device.h"
#include "playback/engine/spectrum_analyser.h"
#include "playback/engine/stream.h"

namespace tunvell {

namespace {

using engine::AudioDevice;
using engine::Stream;

// libmpg123 decodes, SDL2 plays, KissFFT analyses. Called from one thread (the
// user-interface thread); the streams do their own threading.
class SdlEngine final : public AudioOutput {
public:
    ~SdlEngine() override { Free(); }

    bool Init() override {
        if (!device_) {
            device_ = AudioDevice::Open();
        }
        return device_ != nullptr;
    }

    void Free() override {
        if (!device_) {
            return;
        }
        for (const auto& [handle, stream] : streams_) {
            device_->Detach(stream.get());
        }
        streams_.clear();
        device_.reset();
    }

    StreamHandle StreamCreateFile(const QString& path) override {
        if (!device_) {
            return 0;
        }
        std::unique_ptr<Stream> stream = Stream::Open(path, device_->Format());
        if (!stream) {
            return 0;
        }
        // Handles are never reused in a run: a stale one must stay invalid.
        const StreamHandle handle = nextHandle_++;
        device_->Attach(stream.get());
        streams_.emplace(handle, std::move(stream));
        return handle;
    }

    bool StreamFree(StreamHandle handle) override {
        const auto found = streams_.find(handle);
        if (found == streams_.end()) {
            return false;
        }
        device_->Detach(found->second.get());
        streams_.erase(found);
        return true;
    }

    bool ChannelPlay(StreamHandle handle, bool restart) override {
        Stream* stream = Find(handle);
        return stream != nullptr && stream->Play(restart);
    }

    bool ChannelPause(StreamHandle handle) override {
        Stream* stream = Find(handle);
        return stream != nullptr && stream->Pause();
    }

    bool ChannelStop(StreamHandle handle) override {
        Stream* stream = Find(handle);
        return stream != nullptr && stream->Stop();
    }

    int ChannelIsActive(StreamHandle handle) override {
        const Stream* stream = Find(handle);
        return stream != nullptr ? stream->Activity() : ACTIVE_STOPPED;
    }

    std::int64_t ChannelGetLength(StreamHandle handle) override {
        const Stream* stream = Find(handle);
        return stream != nullptr ? stream->LengthBytes() : -1;
    }

    std::int64_t ChannelGetPosition(StreamHandle handle) override {
        const Stream* stream = Find(handle);
        return stream != nullptr ? stream->HeardBytes() : -1;
    }

    bool ChannelSetPosition(StreamHandle handle, std::int64_t bytes) override {
        Stream* stream = Find(handle);
        return stream != nullptr && stream->SeekBytes(bytes);
    }

    int ChannelGetData(StreamHandle handle,
                       std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) override {
        const Stream* stream = Find(handle);
        if (stream == nullptr || !stream->CopyHeard(heard_) ||
            !analyser_.Analyse(heard_, magnitudes)) {
            return -1;
        }
        return static_cast<int>(magnitudes.size_bytes());
    }

private:
    Stream* Find(StreamHandle handle) const {
        const auto found = streams_.find(handle);
        return found != streams_.end() ? found->second.get() : nullptr;
    }

    std::unique_ptr<AudioDevice> device_;
    std::map<StreamHandle, std::unique_ptr<Stream>> streams_;
    StreamHandle nextHandle_ = 1;
    engine::SpectrumAnalyser analyser_;
    std::array<float, engine::FFT_SIZE> heard_{};
};

}  // namespace

std::unique_ptr<AudioOutput> MakeAudioEngine() {
    return std::make_unique<SdlEngine>();
}

}  // namespace tunvell
