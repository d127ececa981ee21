#pragma once

#include <QObject>

class QMenu;
class QSystemTrayIcon;

namespace tunvell {

class MainWindow;

// The tray icon and the hidden menu "文件" it pops up.
class TrayMenu : public QObject {
    Q_OBJECT
public:
    explicit TrayMenu(MainWindow& window);
    ~TrayMenu() override;

    // Adds the icon to the tray (StartPlayer) and removes it (window destroyed).
    void AddIcon();
    void RemoveIcon();
    // True when the desktop has a tray that shows the icon.
    bool IconShown() const;

    // 1: left button released, 2: double-click, 3: right button or context request.
    void HandleTrayEvent(int type);

    QMenu& FileMenu();

private:
    MainWindow& window_;
};

}  // namespace tunvell
