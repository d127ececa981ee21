#include "app/shell.h"

#include <chrono>

#include "app/button_tips.h"
#include "app/core/player_state.h"
#include "app/core/prompts.h"
#include "app/core/random_source.h"
#include "app/main_window.h"
#include "app/tray_menu.h"
#include "library/playlist.h"
#include "playback/audio_output.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "ui_main_window.h"
#include "volume/volume_control.h"

namespace tunvell {

namespace {

const QString PAUSE_CAPTION = QStringLiteral("暂 停");

std::uint32_t TickCount() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace

void StartPlayer(MainWindow& window) {
    Services& services = window.Collaborators();
    Ui::MainWindow& controls = window.Controls();

    if (window.InstanceGuard().AcquireSingleInstance(INSTANCE_MARKER_NAME)) {
        services.prompts.ShowMessage(QStringLiteral("程序已经运行！"), DEFAULT_BOX_TITLE,
                                     BoxIcon::Information, BoxButtons::Ok);
        window.DestroyWindow();
        return;
    }
    window.show();
    controls.画板1->hide();
    window.Tray().AddIcon();
    services.random.Seed(TickCount());
    InitVolumeSlider(*controls.滑块条2, services.mixer);
    // A missing sound device shows only when songs are opened.
    services.audio.Init();
    services.state.spectrumHeight = controls.画板1->height();
    LoadSettings(window.Settings(), services.state, *controls.画板1);
    RefreshPlaylist(*controls.列表框歌曲, *controls.状态条1);
    RegisterButtonTips(controls);
    window.时钟取时.SetPeriod(500);
    if (services.state.autoPlay == QLatin1String("1")) {
        window.时钟1.SetPeriod(1000);
    }
}

bool ConfirmClose(MainWindow& window) {
    Services& services = window.Collaborators();
    if (window.Controls().按钮播放暂停->text() == PAUSE_CAPTION) {
        const BoxAnswer answer =
            services.prompts.ShowMessage(QStringLiteral("当前正在播放，是否退出播放器？"),
                                         QStringLiteral("警告"), BoxIcon::None, BoxButtons::YesNo);
        if (answer != BoxAnswer::Yes) {
            return false;
        }
        services.audio.ChannelStop(services.state.currentStream);
    }
    window.DestroyWindow();
    return true;
}

void ExitPlayer(MainWindow& window) {
    Services& services = window.Collaborators();
    services.audio.ChannelStop(services.state.currentStream);
    services.audio.Free();
    window.DestroyWindow();
}

void TearDownMainWindow(MainWindow& window) {
    // The song store is never held open between events: every store operation
    // closes what it opened, so there is no store left to close here.
    window.InstanceGuard().Close();
    window.时钟1.SetPeriod(0);
    window.时钟取时.SetPeriod(0);
    window.绘制时钟.SetPeriod(0);
}

void HideIfMinimised(MainWindow& window) {
    // Without a tray to bring it back, a hidden window would be lost to the user.
    if (window.isMinimized() && window.Tray().IconShown()) {
        window.hide();
    }
}

}  // namespace tunvell
