#pragma once

#include "app/core/local_clock.h"

namespace tunvell::testing {

class FixedClock final : public LocalClock {
public:
    QTime now{12, 0, 0};
    QTime Now() const override { return now; }
};

}  // namespace tunvell::testing
