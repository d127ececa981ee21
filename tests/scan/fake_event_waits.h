#pragma once

#include <functional>
#include <vector>

#include "scan/event_waits.h"

namespace tunvell::testing {

// Waits that take no time: each is recorded, and the clock moves by what was
// asked. `duringWait` runs inside each wait with its 0-based index, as events
// would during a real one.
class FakeEventWaits final : public EventWaits {
public:
    std::vector<int> waits;
    std::function<void(int index)> duringWait;

    void Wait(int milliseconds, QDialog& /*window*/) override {
        waits.push_back(milliseconds);
        waited_ += milliseconds;
        if (duringWait) {
            duringWait(static_cast<int>(waits.size()) - 1);
        }
    }
    qint64 Elapsed() const override { return waited_; }

private:
    qint64 waited_ = 0;
};

}  // namespace tunvell::testing
