#include "playback/engine/frame_ring.h"

#include <algorithm>

namespace tunvell::engine {

FrameRing::FrameRing(int channels, std::int64_t capacityFrames)
    : channels_(channels),
      capacity_(capacityFrames),
      samples_(static_cast<size_t>(capacityFrames * channels)) {}

std::int64_t FrameRing::Write(std::span<const float> samples) {
    const std::int64_t frames =
        std::min(static_cast<std::int64_t>(samples.size()) / channels_, FreeFrames());
    const std::int64_t tail = (head_ + size_) % capacity_;
    const std::int64_t firstFrames = std::min(frames, capacity_ - tail);
    const auto source = samples.begin();
    std::copy(source, source + firstFrames * channels_, samples_.begin() + tail * channels_);
    std::copy(source + firstFrames * channels_, source + frames * channels_, samples_.begin());
    size_ += frames;
    return frames;
}

FrameRing::Regions FrameRing::Peek(std::int64_t maxFrames) const {
    const std::int64_t frames = std::clamp<std::int64_t>(maxFrames, 0, size_);
    const std::int64_t firstFrames = std::min(frames, capacity_ - head_);
    const std::span<const float> all(samples_);
    Regions regions;
    regions.first = all.subspan(static_cast<size_t>(head_ * channels_),
                                static_cast<size_t>(firstFrames * channels_));
    regions.second = all.first(static_cast<size_t>((frames - firstFrames) * channels_));
    return regions;
}

void FrameRing::Drop(std::int64_t frames) {
    const std::int64_t dropped = std::clamp<std::int64_t>(frames, 0, size_);
    head_ = (head_ + dropped) % capacity_;
    size_ -= dropped;
}

void FrameRing::Clear() {
    head_ = 0;
    size_ = 0;
}

}  // namespace tunvell::engine
