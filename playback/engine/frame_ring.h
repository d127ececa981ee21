#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tunvell::engine {

// A fixed-capacity FIFO of interleaved float frames. Not thread-safe: the
// owner guards it with a lock held only for the copies. Never allocates after
// construction.
class FrameRing {
public:
    FrameRing(int channels, std::int64_t capacityFrames);

    std::int64_t Size() const { return size_; }
    std::int64_t Capacity() const { return capacity_; }
    std::int64_t FreeFrames() const { return capacity_ - size_; }

    // Appends as many whole frames of `samples` as fit; returns the frames taken.
    std::int64_t Write(std::span<const float> samples);

    // The oldest frames, up to maxFrames, as at most two contiguous pieces.
    struct Regions {
        std::span<const float> first;
        std::span<const float> second;
    };
    Regions Peek(std::int64_t maxFrames) const;
    // Forgets the oldest frames (at most Size()).
    void Drop(std::int64_t frames);
    void Clear();

private:
    int channels_;
    std::int64_t capacity_;
    std::vector<float> samples_;
    std::int64_t head_ = 0;  // frame index of the oldest frame
    std::int64_t size_ = 0;
};

}  // namespace tunvell::engine
