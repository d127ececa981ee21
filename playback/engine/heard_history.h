#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tunvell::engine {

// The most recent mono samples sent to the device, kept so that the analyser
// can look at what is being heard now, a device latency behind what was sent.
// Not thread-safe; never allocates after construction.
class HeardHistory {
public:
    // Keeps at least `frames` samples.
    explicit HeardHistory(std::int64_t frames);

    void Push(float sample) {
        samples_[static_cast<size_t>(written_ & mask_)] = sample;
        ++written_;
    }
    void PushSilence(std::int64_t frames);

    // Fills `out` with the samples that end `skipNewest` samples before the
    // newest one, oldest first; samples from before the first push read 0.
    void CopyEndingBefore(std::int64_t skipNewest, std::span<float> out) const;

private:
    std::vector<float> samples_;
    std::uint64_t mask_;
    std::uint64_t written_ = 0;
};

}  // namespace tunvell::engine
