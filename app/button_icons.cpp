#include "app/button_icons.h"

#include "ui_main_window.h"

namespace tunvell {

// Filled by the tray work.
QIcon ProgramIcon() { return {}; }
void ApplyButtonIcons(Ui::MainWindow& /*controls*/) {}

}  // namespace tunvell
