#pragma once

#include <memory>

#include <QDialog>
#include <QPointer>

#include "app/core/period_timer.h"

class QListWidget;

namespace Ui {
class ScanWindow;
}

namespace tunvell {

class EventWaits;
class LocalClock;
class Prompts;
class SongDatabase;
class Transport;

// 扫描文件: scans a folder tree into a list, imports its MP3 files into the song
// store, or clears the store. Created anew for every opening.
//
// The scan and the waits let window events run, so any button may be clicked
// in the middle of them, and the window may be closed or even destroyed there:
// every handler checks after each such pause whether it should go on.
class ScanWindow : public QDialog {
    Q_OBJECT
public:
    // `waits` defaults to real waits on the event loop.
    ScanWindow(Transport& transport, QListWidget& mainSongList, Prompts& prompts, LocalClock& clock,
               QWidget* parent = nullptr, EventWaits* waits = nullptr);
    ~ScanWindow() override;

    Ui::ScanWindow& Controls() { return *ui_; }

    // Clock of the status bar, 500 ms while the window lives.
    PeriodTimer 时钟1;

    // How long ClearSongDatabase keeps trying while another program holds the
    // store, and how long it waits between tries.
    static constexpr int CLEAR_RETRY_LIMIT_MS = 5000;
    static constexpr int CLEAR_RETRY_STEP_MS = 100;

    void BrowseScanFolder();
    void ScanFolder();
    // `folder` ends in the separator.
    void ScanDirectory(const QString& folder);
    void ImportScanList();
    void ClearScanList();
    void ClearSongDatabase();

    // True once the window has been closed (by the user or by the import).
    bool IsClosed() const { return closed_; }

    void done(int result) override;

private:
    void ConnectEvents();
    void ShowStatus(const QString& text);  // part 1 of 状态条1
    // A scan gathers what it finds and hands it to the list and the status bar
    // now and then: inserting and painting at every folder would cost many
    // times the walk itself. Every handler hands over what is pending first, so
    // that whatever runs, even in the middle of a scan, sees every file found
    // so far, in order.
    void FlushFoundFiles();
    // Counts down after an import and closes the window, unless it was closed
    // or destroyed meanwhile.
    void CountDownAndClose();
    // Clears the store, trying again for a while when it is held elsewhere.
    // False, with a message when the window is still there, when it was not
    // cleared.
    bool ClearWithRetries(SongDatabase& store);

    std::unique_ptr<Ui::ScanWindow> ui_;
    Transport& transport_;
    QPointer<QListWidget> mainSongList_;
    Prompts& prompts_;
    LocalClock& clock_;
    std::unique_ptr<EventWaits> ownWaits_;
    EventWaits& waits_;
    bool closed_ = false;
    QStringList foundFiles_;  // found by a running scan, not yet in the list
};

}  // namespace tunvell
