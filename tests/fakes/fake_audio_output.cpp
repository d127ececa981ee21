#include "tests/fakes/fake_audio_output.h"

#include <algorithm>

namespace tunvell::testing {

void FakeAudioOutput::AddFile(const QString& path, std::int64_t lengthBytes) {
    files_[path] = lengthBytes;
}

void FakeAudioOutput::RemoveFile(const QString& path) {
    files_.erase(path);
}

void FakeAudioOutput::EndStream(StreamHandle handle) {
    if (Stream* stream = Live(handle)) {
        stream->activity = ACTIVE_STOPPED;
        stream->position = stream->length;
    }
}

void FakeAudioOutput::SetHeardPosition(StreamHandle handle, std::int64_t bytes) {
    if (Stream* stream = Live(handle)) {
        stream->position = bytes;
    }
}

void FakeAudioOutput::SetFft(std::optional<std::vector<float>> magnitudes) {
    fft_ = std::move(magnitudes);
}

const FakeAudioOutput::Stream* FakeAudioOutput::Find(StreamHandle handle) const {
    const auto found = streams_.find(handle);
    return found == streams_.end() ? nullptr : &found->second;
}

int FakeAudioOutput::LiveStreamCount() const {
    return static_cast<int>(std::count_if(streams_.begin(), streams_.end(),
                                          [](const auto& entry) { return !entry.second.freed; }));
}

FakeAudioOutput::Stream* FakeAudioOutput::Live(StreamHandle handle) {
    const auto found = streams_.find(handle);
    return found == streams_.end() || found->second.freed ? nullptr : &found->second;
}

void FakeAudioOutput::Log(const char* operation, StreamHandle handle) {
    calls.push_back(std::string(operation) + "(" + std::to_string(handle) + ")");
}

bool FakeAudioOutput::Init() {
    calls.emplace_back("Init");
    initCalled = true;
    if (onInit) {
        onInit();
    }
    return initResult;
}

void FakeAudioOutput::Free() {
    calls.emplace_back("Free");
    freeCalled = true;
    for (auto& [handle, stream] : streams_) {
        stream.freed = true;
    }
}

StreamHandle FakeAudioOutput::StreamCreateFile(const QString& path) {
    calls.push_back("StreamCreateFile(" + path.toStdString() + ")");
    const auto file = files_.find(path);
    if (file == files_.end()) {
        return 0;
    }
    const StreamHandle handle = nextHandle_++;
    streams_[handle] = Stream{path, ACTIVE_STOPPED, file->second, 0, false};
    return handle;
}

bool FakeAudioOutput::StreamFree(StreamHandle handle) {
    Log("StreamFree", handle);
    Stream* stream = Live(handle);
    if (stream == nullptr) {
        return false;
    }
    stream->freed = true;
    stream->activity = ACTIVE_STOPPED;
    return true;
}

bool FakeAudioOutput::ChannelPlay(StreamHandle handle, bool restart) {
    Log("ChannelPlay", handle);
    Stream* stream = Live(handle);
    if (stream == nullptr) {
        return false;
    }
    if (restart) {
        stream->position = 0;
    }
    stream->activity = ACTIVE_PLAYING;
    return true;
}

bool FakeAudioOutput::ChannelPause(StreamHandle handle) {
    Log("ChannelPause", handle);
    Stream* stream = Live(handle);
    if (stream == nullptr || stream->activity != ACTIVE_PLAYING) {
        return false;
    }
    stream->activity = ACTIVE_PAUSED;
    return true;
}

bool FakeAudioOutput::ChannelStop(StreamHandle handle) {
    Log("ChannelStop", handle);
    Stream* stream = Live(handle);
    if (stream == nullptr) {
        return false;
    }
    stream->activity = ACTIVE_STOPPED;
    return true;
}

int FakeAudioOutput::ChannelIsActive(StreamHandle handle) {
    const Stream* stream = Live(handle);
    return stream == nullptr ? ACTIVE_STOPPED : stream->activity;
}

std::int64_t FakeAudioOutput::ChannelGetLength(StreamHandle handle) {
    const Stream* stream = Live(handle);
    return stream == nullptr ? -1 : stream->length;
}

std::int64_t FakeAudioOutput::ChannelGetPosition(StreamHandle handle) {
    const Stream* stream = Live(handle);
    return stream == nullptr ? -1 : stream->position;
}

bool FakeAudioOutput::ChannelSetPosition(StreamHandle handle, std::int64_t bytes) {
    calls.push_back("ChannelSetPosition(" + std::to_string(handle) + "," + std::to_string(bytes) +
                    ")");
    Stream* stream = Live(handle);
    if (stream == nullptr || bytes < 0 || bytes > stream->length) {
        return false;
    }
    stream->position = bytes;
    return true;
}

int FakeAudioOutput::ChannelGetData(StreamHandle handle,
                                    std::span<float, FFT_MAGNITUDE_COUNT> magnitudes) {
    if (Live(handle) == nullptr || !fft_) {
        return -1;
    }
    std::fill(magnitudes.begin(), magnitudes.end(), 0.0f);
    std::copy_n(fft_->begin(), std::min<std::size_t>(fft_->size(), magnitudes.size()),
                magnitudes.begin());
    return static_cast<int>(magnitudes.size() * sizeof(float));
}

}  // namespace tunvell::testing
