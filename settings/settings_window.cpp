#include "settings/settings_window.h"

#include "app/core/clock_tick.h"
#include "app/core/player_state.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/settings_window_controls.h"
#include "spectrum/spectrum_canvas.h"

namespace tunvell {

namespace {

constexpr int CLOCK_PERIOD_MS = 500;
constexpr int MESSAGE_PART = 1;

// Program-side selection: the other button of the group drops out by itself,
// and no click is reported.
void Select(QRadioButton& button) {
    button.setChecked(true);
}

}  // namespace

SettingsWindow::SettingsWindow(SettingsFile& file, PlayerState& state, SpectrumCanvas& mainCanvas,
                               LocalClock& clock, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::SettingsWindow>()),
      file_(file),
      state_(state),
      mainCanvas_(mainCanvas),
      clock_(clock) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    时钟1.setObjectName(QStringLiteral("时钟1"));
    ui_->状态条1->SetPartWidths({115, 260});

    connect(&时钟1, &PeriodTimer::ticked, this, [this] { ClockTick(*ui_->状态条1, clock_); });
    connect(ui_->按钮设置, &QPushButton::clicked, this, &SettingsWindow::ApplySettings);
    connect(ui_->按钮默认, &QPushButton::clicked, this, &SettingsWindow::RestoreDefaultSettings);
    // Most of each chooser lies under its preview; clicking the colour opens it too.
    connect(ui_->画板1, &ColorPreview::clicked, ui_->颜色选择器1, &QToolButton::showMenu);
    connect(ui_->画板2, &ColorPreview::clicked, ui_->颜色选择器2, &QToolButton::showMenu);
    ConnectReports();

    InitSettingsWindow();
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::ConnectReports() {
    // Only user actions report: clicks, slider actions and chosen colours, never
    // the program's own setChecked/setValue.
    const auto report = [this](QAbstractButton* button, const QString& text) {
        connect(button, &QAbstractButton::clicked, this, [this, text] { ShowMessage(text); });
    };
    report(ui_->单选框sj, QStringLiteral("随便播放"));
    report(ui_->单选框xh, QStringLiteral("循环播放"));
    report(ui_->单选框on, QStringLiteral("程序运行后自动播放音乐"));
    report(ui_->单选框off, QStringLiteral("程序运行后不自动播放音乐"));
    connect(ui_->滑块条1, &WidthSlider::movedByUser, this, [this](int position) {
        ShowMessage(QStringLiteral("当前频谱宽度：") + QString::number(position));
    });
    connect(ui_->颜色选择器1, &ColorChooser::colorChosen, this, [this](ColorRef color) {
        ui_->画板1->SetColor(color);
        ShowMessage(QStringLiteral("频谱前景色被改变"));
    });
    connect(ui_->颜色选择器2, &ColorChooser::colorChosen, this, [this](ColorRef color) {
        ui_->画板2->SetColor(color);
        ShowMessage(QStringLiteral("频谱背景色被改变"));
    });
}

void SettingsWindow::InitSettingsWindow() {
    时钟1.SetPeriod(CLOCK_PERIOD_MS);
    if (!file_.Exists()) {
        ShowDefaults();
        return;
    }
    // Missing keys read as empty texts here, so they show as loop and auto-play
    // (unlike start-up, which takes random and no auto-play).
    Select(file_.Read(SECTION_MODE, KEY_PLAY_MODE) == QLatin1String("0") ? *ui_->单选框sj
                                                                         : *ui_->单选框xh);
    Select(file_.Read(SECTION_AUTORUN, KEY_AUTO_PLAY) == QLatin1String("0") ? *ui_->单选框off
                                                                            : *ui_->单选框on);
    ui_->滑块条1->SetRememberedWidth(
        SettingsNumber(file_.Read(SECTION_POSITION, KEY_BAR_WIDTH, QStringLiteral("1"))));
    ui_->画板1->SetColor(
        SettingsColor(file_.Read(SECTION_COLOR, KEY_PEN_COLOR), DEFAULT_SPECTRUM_PEN));
    ui_->画板2->SetColor(SettingsColor(file_.Read(SECTION_COLOR, KEY_BACKGROUND_COLOR),
                                       DEFAULT_SPECTRUM_BACKGROUND));
}

void SettingsWindow::ApplySettings() {
    ui_->按钮设置->setEnabled(false);
    state_.playMode = ui_->单选框sj->isChecked() ? QStringLiteral("0") : QStringLiteral("1");
    state_.autoPlay = ui_->单选框off->isChecked() ? QStringLiteral("0") : QStringLiteral("1");
    state_.spectrumBarWidth = ui_->滑块条1->Width();
    mainCanvas_.SetPenColor(ui_->画板1->Color());
    mainCanvas_.SetBackgroundColor(ui_->画板2->Color());

    if (!SaveControls()) {
        // The running player already has the new values; say that the file has
        // not, or the user would lose them at the next start without knowing.
        ShowMessage(QStringLiteral("配置保存失败"));
        return;
    }
    ShowMessage(QStringLiteral("配置完成"));
    ui_->按钮设置->setEnabled(true);
}

bool SettingsWindow::SaveControls() {
    // One key after the other, stopping at the first that fails.
    return file_.Write(SECTION_MODE, KEY_PLAY_MODE, state_.playMode) &&
           file_.Write(SECTION_AUTORUN, KEY_AUTO_PLAY, state_.autoPlay) &&
           file_.Write(SECTION_POSITION, KEY_BAR_WIDTH, QString::number(ui_->滑块条1->Width())) &&
           file_.Write(SECTION_COLOR, KEY_PEN_COLOR, SettingsColorText(ui_->画板1->Color())) &&
           file_.Write(SECTION_COLOR, KEY_BACKGROUND_COLOR, SettingsColorText(ui_->画板2->Color()));
}

void SettingsWindow::RestoreDefaultSettings() {
    ShowDefaults();
}

void SettingsWindow::ShowDefaults() {
    Select(*ui_->单选框sj);
    Select(*ui_->单选框off);
    ui_->滑块条1->SetRememberedWidth(DEFAULT_BAR_WIDTH);
    ui_->画板1->SetColor(DEFAULT_SPECTRUM_PEN);
    ui_->画板2->SetColor(DEFAULT_SPECTRUM_BACKGROUND);
}

void SettingsWindow::ShowMessage(const QString& text) {
    ui_->状态条1->SetPartText(MESSAGE_PART, text);
}

}  // namespace tunvell
