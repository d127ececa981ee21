#include "app/button_tips.h"

#include "ui_main_window.h"

namespace tunvell {

// Filled by the tray work.
void RegisterButtonTips(Ui::MainWindow& /*controls*/) {}
void SupplyButtonTip(const QWidget* /*control*/, QString& /*tipText*/) {}

}  // namespace tunvell
