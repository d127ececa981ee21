#include "app/about_window.h"

namespace tunvell {

// Filled by the tray work.
AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于"));
}

AboutWindow::~AboutWindow() = default;

}  // namespace tunvell
