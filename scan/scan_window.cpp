#include "scan/scan_window.h"

namespace tunvell {

// Filled by the scan work.
ScanWindow::ScanWindow(Transport& transport, QListWidget& mainSongList, Prompts& prompts,
                       LocalClock& clock, QWidget* parent)
    : QDialog(parent), transport_(transport), mainSongList_(mainSongList), prompts_(prompts),
      clock_(clock) {
    setWindowTitle(QStringLiteral("扫描文件"));
}

ScanWindow::~ScanWindow() = default;

}  // namespace tunvell
