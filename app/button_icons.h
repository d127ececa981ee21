#pragma once

#include <QIcon>

namespace Ui {
class MainWindow;
}

namespace tunvell {

// The program's own icon: window, tray and About picture.
QIcon ProgramIcon();

// Gives the five picture buttons of the main window their 12 x 12 images.
void ApplyButtonIcons(Ui::MainWindow& controls);

}  // namespace tunvell
