#include "app/core/clock_tick.h"

#include "app/core/local_clock.h"
#include "app/core/part_status_bar.h"

namespace tunvell {

void ClockTick(PartStatusBar& statusBar, const LocalClock& clock) {
    const QTime now = clock.Now();
    const auto twoDigits = [](int value) {
        return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    };
    statusBar.SetPartText(0, QStringLiteral(" 现在时间 ") + twoDigits(now.hour()) +
                                 QLatin1Char(':') + twoDigits(now.minute()) + QLatin1Char(':') +
                                 twoDigits(now.second()));
}

}  // namespace tunvell
