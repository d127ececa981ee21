#pragma once

#include <memory>

#include <QWidget>

#include "app/core/period_timer.h"
#include "app/services.h"
#include "app/single_instance.h"
#include "playback/transport.h"

namespace Ui {
class MainWindow;
}

namespace tunvell {

class TrayMenu;
class SettingsFile;

// The main window: builds itself from its layout and connects each event to
// the handler of the subsystem that owns it.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(Services services);
    ~MainWindow() override;

    Ui::MainWindow& Controls() { return *ui_; }
    Services& Collaborators() { return services_; }
    Transport& TransportHandlers() { return *transport_; }
    TrayMenu& Tray() { return *tray_; }
    SingleInstanceGuard& InstanceGuard() { return instanceGuard_; }
    SettingsFile& Settings() { return *settings_; }

    // The window's three timers, stopped at creation.
    PeriodTimer 时钟取时;
    PeriodTimer 时钟1;
    PeriodTimer 绘制时钟;

    // Ends the window for good: runs TearDownMainWindow once, removes the tray
    // icon and ends the message loop. Later calls do nothing.
    void DestroyWindow();
    bool IsDestroyed() const { return destroyed_; }

    void OpenScanWindow();
    void OpenSettingsWindow();
    void OpenAboutWindow();

Q_SIGNALS:
    // Emitted once by DestroyWindow; the process ends its message loop on it.
    void windowDestroyed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void ConnectEvents();

    Services services_;
    std::unique_ptr<Ui::MainWindow> ui_;
    std::unique_ptr<SettingsFile> settings_;
    std::unique_ptr<Transport> transport_;
    std::unique_ptr<TrayMenu> tray_;
    SingleInstanceGuard instanceGuard_;
    bool destroyed_ = false;
};

}  // namespace tunvell
