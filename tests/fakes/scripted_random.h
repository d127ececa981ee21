#pragma once

#include <deque>
#include <optional>
#include <utility>
#include <vector>

#include "app/core/random_source.h"

namespace tunvell::testing {

// Returns the scripted draws in order (clamped to the asked range), then `low`.
// Records every range asked for and every seed.
class ScriptedRandom final : public RandomSource {
public:
    std::deque<int> draws;
    std::vector<std::pair<int, int>> ranges;
    std::optional<std::uint32_t> seed;

    void Seed(std::uint32_t value) override { seed = value; }
    int Draw(int low, int high) override {
        ranges.emplace_back(low, high);
        if (draws.empty()) {
            return low;
        }
        const int draw = draws.front();
        draws.pop_front();
        return draw < low ? low : (draw > high ? high : draw);
    }
};

}  // namespace tunvell::testing
