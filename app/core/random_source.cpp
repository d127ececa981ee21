#include "app/core/random_source.h"

namespace tunvell {

void MersenneRandom::Seed(std::uint32_t seed) {
    engine_.seed(seed);
}

int MersenneRandom::Draw(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(engine_);
}

}  // namespace tunvell
