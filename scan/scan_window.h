#pragma once

#include <QDialog>

class QListWidget;

namespace tunvell {

class LocalClock;
class Prompts;
class Transport;

// 扫描文件: scans a folder tree into a list, imports its MP3 files into the song
// store, or clears the store. Created anew for every opening.
class ScanWindow : public QDialog {
    Q_OBJECT
public:
    ScanWindow(Transport& transport, QListWidget& mainSongList, Prompts& prompts,
               LocalClock& clock, QWidget* parent = nullptr);
    ~ScanWindow() override;

private:
    Transport& transport_;
    QListWidget& mainSongList_;
    Prompts& prompts_;
    LocalClock& clock_;
};

}  // namespace tunvell
