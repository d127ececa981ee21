#include "playback/engine/heard_history.h"

#include <algorithm>
#include <bit>

namespace tunvell::engine {

HeardHistory::HeardHistory(std::int64_t frames)
    : samples_(std::bit_ceil(static_cast<std::uint64_t>(std::max<std::int64_t>(frames, 1))), 0.0f),
      mask_(samples_.size() - 1) {}

void HeardHistory::PushSilence(std::int64_t frames) {
    // More silence than the history holds leaves it all silent.
    const std::int64_t count =
        std::min<std::int64_t>(frames, static_cast<std::int64_t>(samples_.size()));
    for (std::int64_t i = 0; i < count; ++i) {
        Push(0.0f);
    }
    written_ += static_cast<std::uint64_t>(frames - count);
}

void HeardHistory::CopyEndingBefore(std::int64_t skipNewest, std::span<float> out) const {
    const auto wanted = static_cast<std::int64_t>(out.size());
    const std::int64_t end =
        static_cast<std::int64_t>(written_) - std::max<std::int64_t>(skipNewest, 0);
    const std::int64_t oldestKept = std::max<std::int64_t>(
        0, static_cast<std::int64_t>(written_) - static_cast<std::int64_t>(samples_.size()));
    for (std::int64_t i = 0; i < wanted; ++i) {
        const std::int64_t index = end - wanted + i;
        out[static_cast<size_t>(i)] =
            index < oldestKept ? 0.0f : samples_[static_cast<size_t>(index) & mask_];
    }
}

}  // namespace tunvell::engine
