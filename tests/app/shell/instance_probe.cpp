// Takes the instance marker as the player does and holds it until killed;
// prints "acquired" or "running" (another instance holds it) on standard output.
#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include "app/single_instance.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    tunvell::SingleInstanceGuard guard;
    QTextStream out(stdout);
    if (guard.AcquireSingleInstance(tunvell::INSTANCE_MARKER_NAME)) {
        out << "running" << Qt::endl;
        return 0;
    }
    out << "acquired" << Qt::endl;
    for (;;) {
        QThread::sleep(60);
    }
}
