// Shows the settings window over a sample "config.ini" for a look at it under a
// real display (not run by CTest). Prints the window's frame geometry, then
// closes after the given number of milliseconds (default 3000).
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "tests/settings/settings_window_rig.h"

using namespace tunvell;
using namespace tunvell::testing;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int lifetime = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 3000;
    SettingsWindowRig rig;
    PutFile(rig.file.Path(), "[mode]\npmd=1\n[autorun]\npar=0\n[position]\npos=5\n");
    SettingsWindow& window = rig.Open();
    rig.Controls().单选框sj->click();
    rig.Controls().滑块条1->triggerAction(QAbstractSlider::SliderSingleStepSub);
    Q_EMIT window.时钟1.ticked();
    window.show();
    QTimer::singleShot(500, &window, [&window] {
        const QRect frame = window.frameGeometry();
        std::printf("%dx%d+%d+%d\n", frame.width(), frame.height(), frame.x(), frame.y());
        std::fflush(stdout);
    });
    QTimer::singleShot(lifetime, &app, &QApplication::quit);
    return app.exec();
}
