#include "playback/engine.h"

namespace tunvell {

namespace {

// Stands in until the decoding engine exists: nothing opens.
class SilentOutput final : public AudioOutput {
public:
    bool Init() override { return false; }
    void Free() override {}
    StreamHandle StreamCreateFile(const QString&) override { return 0; }
    bool StreamFree(StreamHandle) override { return false; }
    bool ChannelPlay(StreamHandle, bool) override { return false; }
    bool ChannelPause(StreamHandle) override { return false; }
    bool ChannelStop(StreamHandle) override { return false; }
    int ChannelIsActive(StreamHandle) override { return ACTIVE_STOPPED; }
    std::int64_t ChannelGetLength(StreamHandle) override { return -1; }
    std::int64_t ChannelGetPosition(StreamHandle) override { return -1; }
    bool ChannelSetPosition(StreamHandle, std::int64_t) override { return false; }
    int ChannelGetData(StreamHandle, std::span<float, FFT_MAGNITUDE_COUNT>) override { return -1; }
};

}  // namespace

std::unique_ptr<AudioOutput> MakeAudioEngine() { return std::make_unique<SilentOutput>(); }

}  // namespace tunvell
