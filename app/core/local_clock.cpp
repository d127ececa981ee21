#include "app/core/local_clock.h"

namespace tunvell {

QTime SystemClock::Now() const {
    return QTime::currentTime();
}

}  // namespace tunvell
