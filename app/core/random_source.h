#pragma once

#include <cstdint>
#include <random>

namespace tunvell {

// Draws the random song; behind a seam so that tests can script the draws.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void Seed(std::uint32_t seed) = 0;
    // A whole number from low to high, both ends included (low <= high).
    virtual int Draw(int low, int high) = 0;
};

class MersenneRandom final : public RandomSource {
public:
    void Seed(std::uint32_t seed) override;
    int Draw(int low, int high) override;

private:
    std::mt19937 engine_;
};

}  // namespace tunvell
