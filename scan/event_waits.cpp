#include "scan/event_waits.h"

#include <QDialog>
#include <QEventLoop>
#include <QTimer>

namespace tunvell {

RealEventWaits::RealEventWaits() {
    started_.start();
}

void RealEventWaits::Wait(int milliseconds, QDialog& window) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    timer.start(milliseconds);
    loop.exec();
    // The window, and this object with it when the window owns it, may be gone
    // by now: touch nothing but locals from here.
}

qint64 RealEventWaits::Elapsed() const {
    return started_.elapsed();
}

}  // namespace tunvell
