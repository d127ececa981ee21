#include "app/tray_menu.h"

#include <QCursor>
#include <QMenu>

#include "app/button_icons.h"
#include "app/main_window.h"
#include "app/shell.h"

namespace tunvell {

namespace {

constexpr int TRAY_LEFT_RELEASE = 1;
constexpr int TRAY_DOUBLE_CLICK = 2;
constexpr int TRAY_CONTEXT = 3;

}  // namespace

std::optional<int> TrayEventType(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return TRAY_LEFT_RELEASE;
        case QSystemTrayIcon::DoubleClick:
            return TRAY_DOUBLE_CLICK;
        case QSystemTrayIcon::Context:
            return TRAY_CONTEXT;
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
    return std::nullopt;
}

TrayMenu::TrayMenu(MainWindow& window)
    : window_(window), fileMenu_(std::make_unique<QMenu>(QStringLiteral("文件"))) {
    BuildFileMenu();
}

TrayMenu::~TrayMenu() = default;

void TrayMenu::BuildFileMenu() {
    QMenu& menu = *fileMenu_;
    menu.setObjectName(QStringLiteral("文件"));
    MainWindow& window = window_;
    const auto add = [this, &menu](const QString& text, auto command) {
        connect(menu.addAction(text), &QAction::triggered, this, command);
    };
    add(QStringLiteral("扫描文件"), [&window] { window.OpenScanWindow(); });
    add(QStringLiteral("播放设置"), [&window] { window.OpenSettingsWindow(); });
    menu.addSeparator();
    add(QStringLiteral("上一曲"), [&window] { window.TransportHandlers().PlayPrevious(); });
    add(QStringLiteral("播放(暂停)"), [&window] { window.TransportHandlers().TogglePlayPause(); });
    add(QStringLiteral("下一曲"), [&window] { window.TransportHandlers().PlayNext(); });
    menu.addSeparator();
    add(QStringLiteral("关于"), [&window] { window.OpenAboutWindow(); });
    menu.addSeparator();
    add(QStringLiteral("退出"), [&window] { ExitPlayer(window); });
}

void TrayMenu::AddIcon() {
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(ProgramIcon());
        icon_->setToolTip(QStringLiteral("Tunvell v3.6"));
        // No context menu is given to the icon: the platform would then pop it
        // up by itself, and the right button belongs to HandleTrayEvent.
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (const std::optional<int> type = TrayEventType(reason)) {
                        HandleTrayEvent(*type);
                    }
                });
    }
    icon_->show();
}

void TrayMenu::RemoveIcon() {
    // Only hidden, not deleted: the window may be destroyed from a command of
    // the menu that this icon's own signal popped up.
    if (icon_) {
        icon_->hide();
    }
    fileMenu_->hide();
}

bool TrayMenu::IconShown() const {
    return icon_ && icon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayMenu::HandleTrayEvent(int type) {
    // A late event must not bring a destroyed window back.
    if (window_.IsDestroyed()) {
        return;
    }
    if (type == TRAY_LEFT_RELEASE) {
        if (window_.isVisible() && !window_.isMinimized()) {
            window_.hide();
        } else {
            // A window hidden by minimising comes back as it was before.
            window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
            window_.show();
            window_.raise();
            window_.activateWindow();
        }
    } else if (type == TRAY_CONTEXT) {
        fileMenu_->popup(QCursor::pos() + QPoint(3, 3));
    }
}

QMenu& TrayMenu::FileMenu() {
    return *fileMenu_;
}

}  // namespace tunvell
