#include "app/core/period_timer.h"

namespace tunvell {

PeriodTimer::PeriodTimer(QObject* parent) : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PeriodTimer::ticked);
}

void PeriodTimer::SetPeriod(int milliseconds) {
    if (milliseconds <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(milliseconds);
}

int PeriodTimer::Period() const {
    return timer_.isActive() ? timer_.interval() : 0;
}

}  // namespace tunvell
