// A reference for playback_cost: a Qt window that does nothing but take a
// 30 ms timer, the spectrum's period. What it costs is what any Qt program
// pays on this machine just to wake 33 times a second.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(511, 145);
    window.show();
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(30);
    return QApplication::exec();
}
