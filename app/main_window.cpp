#include "app/main_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include "app/about_window.h"
#include "app/button_icons.h"
#include "app/core/clock_tick.h"
#include "app/shell.h"
#include "app/tray_menu.h"
#include "library/playlist.h"
#include "scan/scan_window.h"
#include "settings/settings_file.h"
#include "settings/settings_window.h"
#include "spectrum/spectrum.h"
#include "ui_main_window.h"
#include "volume/volume_control.h"

namespace tunvell {

namespace {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace

MainWindow::MainWindow(Services services)
    : services_(services),
      ui_(std::make_unique<Ui::MainWindow>()),
      settings_(std::make_unique<SettingsFile>(SettingsPathIn(services.programDirectory))) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    时钟取时.setObjectName(QStringLiteral("时钟取时"));
    时钟1.setObjectName(QStringLiteral("时钟1"));
    绘制时钟.setObjectName(QStringLiteral("绘制时钟"));

    QFont titleFont(QStringLiteral("宋体"));
    titleFont.setPixelSize(14);
    ui_->透明标签当前播放->setFont(titleFont);
    ui_->状态条1->SetPartWidths({118, 80, 320});
    ApplyButtonIcons(*ui_);
    setWindowIcon(ProgramIcon());

    transport_ = std::make_unique<Transport>(
        TransportControls{*ui_->列表框歌曲, *ui_->按钮播放暂停, *ui_->画板1, *ui_->滑块条1,
                          *ui_->透明标签当前播放, *ui_->状态条1, 时钟1, 绘制时钟, 时钟取时},
        services_.state, services_.audio, services_.prompts, services_.random);
    tray_ = std::make_unique<TrayMenu>(*this);
    ConnectEvents();
    CentreOnScreen(*this);
}

MainWindow::~MainWindow() {
    DestroyWindow();
}

void MainWindow::ConnectEvents() {
    Transport& transport = *transport_;
    connect(ui_->按钮上一曲, &QPushButton::clicked, this,
            [&transport] { transport.PlayPrevious(); });
    connect(ui_->按钮播放暂停, &QPushButton::clicked, this,
            [&transport] { transport.TogglePlayPause(); });
    connect(ui_->按钮停止, &QPushButton::clicked, this, [&transport] { transport.StopPlayback(); });
    connect(ui_->按钮下一曲, &QPushButton::clicked, this, [&transport] { transport.PlayNext(); });
    connect(ui_->列表框歌曲, &QListWidget::itemDoubleClicked, this,
            [&transport] { transport.PlaySelectedSong(); });
    // actionTriggered comes for the user's own slider actions only, never for
    // the program's position writes, which would otherwise seek on every tick.
    connect(ui_->滑块条1, &QSlider::actionTriggered, this,
            [&transport] { transport.SeekToSliderPosition(); });
    connect(ui_->滑块条2, &QSlider::actionTriggered, this,
            [this] { SetVolumeFromSlider(*ui_->滑块条2, services_.mixer); });

    connect(ui_->图形按钮刷新, &QToolButton::clicked, this,
            [this] { RefreshPlaylist(*ui_->列表框歌曲, *ui_->状态条1); });
    connect(ui_->图形按钮扫描, &QToolButton::clicked, this, &MainWindow::OpenScanWindow);
    connect(ui_->图形按钮添加, &QToolButton::clicked, this,
            [this] { AddTemporarySong(*ui_->列表框歌曲, services_.prompts); });
    connect(ui_->图形按钮服务设置, &QToolButton::clicked, this, &MainWindow::OpenSettingsWindow);
    connect(ui_->图形按钮关于, &QToolButton::clicked, this, &MainWindow::OpenAboutWindow);

    connect(&时钟取时, &PeriodTimer::ticked, this,
            [this] { ClockTick(*ui_->状态条1, services_.clock); });
    connect(&时钟1, &PeriodTimer::ticked, this, [&transport] { transport.ProgressTick(); });
    connect(&绘制时钟, &PeriodTimer::ticked, this,
            [this] { DrawSpectrumFrame(services_.state, services_.audio, *ui_->画板1); });
}

void MainWindow::DestroyWindow() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    TearDownMainWindow(*this);
    tray_->RemoveIcon();
    hide();
    Q_EMIT windowDestroyed();
}

void MainWindow::OpenScanWindow() {
    ScanWindow window(*transport_, *ui_->列表框歌曲, services_.prompts, services_.clock);
    window.exec();
}

void MainWindow::OpenSettingsWindow() {
    SettingsWindow window(*settings_, services_.state, *ui_->画板1, services_.clock);
    window.exec();
}

void MainWindow::OpenAboutWindow() {
    AboutWindow window;
    window.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // ConfirmClose destroys the window itself when the close may go on.
    event->ignore();
    if (!destroyed_) {
        ConfirmClose(*this);
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        HideIfMinimised(*this);
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    HideIfMinimised(*this);
}

}  // namespace tunvell
