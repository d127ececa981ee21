#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QSystemTrayIcon>

class QMenu;

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
    void BuildFileMenu();

    MainWindow& window_;
    std::unique_ptr<QMenu> fileMenu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

// The event type HandleTrayEvent takes for an activation of the tray icon, or
// none for an action that is no event.
std::optional<int> TrayEventType(QSystemTrayIcon::ActivationReason reason);

}  // namespace tunvell
