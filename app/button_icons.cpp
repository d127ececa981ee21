#include "app/button_icons.h"

#include <mutex>

#include "ui_main_window.h"

// The pictures are compiled into this static library; nothing refers to their
// registration code, so the linker would drop it unless it is called by name.
static void RegisterIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace tunvell {

namespace {

void EnsureIconResources() {
    static std::once_flag once;
    std::call_once(once, RegisterIconResources);
}

QIcon ButtonIcon(const QString& name) {
    EnsureIconResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/%1.png").arg(name), QSize(12, 12));
    icon.addFile(QStringLiteral(":/icons/%1@2x.png").arg(name), QSize(24, 24));
    return icon;
}

}  // namespace

QIcon ProgramIcon() {
    EnsureIconResources();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 88, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tunvell-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void ApplyButtonIcons(Ui::MainWindow& controls) {
    controls.图形按钮刷新->setIcon(ButtonIcon(QStringLiteral("refresh")));
    controls.图形按钮扫描->setIcon(ButtonIcon(QStringLiteral("scan")));
    controls.图形按钮添加->setIcon(ButtonIcon(QStringLiteral("add")));
    controls.图形按钮服务设置->setIcon(ButtonIcon(QStringLiteral("settings")));
    controls.图形按钮关于->setIcon(ButtonIcon(QStringLiteral("about")));
}

}  // namespace tunvell
