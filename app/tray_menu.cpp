#include "app/tray_menu.h"

#include <QMenu>

#include "app/main_window.h"

namespace tunvell {

// Filled by the tray work.
TrayMenu::TrayMenu(MainWindow& window) : QObject(&window), window_(window) {}
TrayMenu::~TrayMenu() = default;
void TrayMenu::AddIcon() {}
void TrayMenu::RemoveIcon() {}
bool TrayMenu::IconShown() const { return false; }
void TrayMenu::HandleTrayEvent(int /*type*/) {}
QMenu& TrayMenu::FileMenu() {
    static QMenu placeholder;
    return placeholder;
}

}  // namespace tunvell
