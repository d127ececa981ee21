#pragma once

#include <QString>

class QWidget;

namespace Ui {
class MainWindow;
}

namespace tunvell {

// Binds the tip control 气球提示框1 to the five picture buttons of the main
// window. Calling it again binds nothing twice.
void RegisterButtonTips(Ui::MainWindow& controls);

// Sets `tipText` for a picture button under the pointer; leaves it unchanged for
// any other control.
void SupplyButtonTip(const QWidget* control, QString& tipText);

}  // namespace tunvell
