#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "playback/audio_output.h"

namespace tunvell::testing {

// A scripted AudioOutput. Files are declared with AddFile; any other path fails
// to open. Streams follow the real engine's rules for activity, and every
// operation on 0 or a freed handle fails. Each call is appended to `calls` (for
// example "StreamCreateFile(/a.mp3)", "ChannelPlay(1)", "StreamFree(1)").
class FakeAudioOutput final : public AudioOutput {
public:
    struct Stream {
        QString path;
        int activity = ACTIVE_STOPPED;
        std::int64_t length = 0;
        std::int64_t position = 0;
        bool freed = false;
    };

    // A file that opens, with its decoded length in bytes.
    void AddFile(const QString& path, std::int64_t lengthBytes = 10 * 176400);
    void RemoveFile(const QString& path);

    // Script: the stream reaches its end (activity becomes "stopped").
    void EndStream(StreamHandle handle);
    // Script: the position the listener hears.
    void SetHeardPosition(StreamHandle handle, std::int64_t bytes);
    // Script: the FFT that ChannelGetData returns from now on; nullopt makes it fail.
    void SetFft(std::optional<std::vector<float>> magnitudes);

    const Stream* Find(StreamHandle handle) const;
    StreamHandle LastHandle() const { return nextHandle_ - 1; }
    int LiveStreamCount() const;

    bool initResult = true;
    bool initCalled = false;
    bool freeCalled = false;
    std::vector<std::string> calls;
    // Runs after Init is logged: lets a test look at the world at that moment.
    std::function<void()> onInit;

    bool Init() override;
    void Free() override;
    StreamHandle StreamCreateFile(const QString& path) override;
    bool StreamFree(StreamHandle handle) override;
    bool ChannelPlay(StreamHandle handle, bool restart) override;
    bool ChannelPause(StreamHandle handle) override;
    bool ChannelStop(StreamHandle handle) override;
    int ChannelIsActive(StreamHandle handle) override;
    std::int64_t ChannelGetLength(StreamHandle handle) override;
    std::int64_t ChannelGetPosition(StreamHandle handle) override;
    bool ChannelSetPosition(StreamHandle handle, std::int64_t bytes) override;
    int ChannelGetData(StreamHandle handle,
                       std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) override;

private:
    Stream* Live(StreamHandle handle);
    void Log(const char* operation, StreamHandle handle);

    std::map<QString, std::int64_t> files_;
    std::map<StreamHandle, Stream> streams_;
    StreamHandle nextHandle_ = 1;
    std::optional<std::vector<float>> fft_ = std::vector<float>(FFT_MAGNITUDE_COUNT, 0.0f);
};

}  // namespace tunvell::testing
