#include "scan/scan_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>

#include "app/core/clock_tick.h"
#include "app/core/prompts.h"
#include "library/item_text.h"
#include "library/song_database.h"
#include "playback/transport.h"
#include "scan/event_waits.h"
#include "scan/folder_walk.h"
#include "scan/song_import.h"
#include "ui_scan_window.h"

namespace tunvell {

namespace {

constexpr int STATUS_MESSAGE_PART = 1;
constexpr int CLOCK_PERIOD_MS = 500;
constexpr int COUNTDOWN_FIRST_WAIT_MS = 500;
constexpr int COUNTDOWN_SECONDS = 5;
constexpr int COUNTDOWN_STEP_MS = 1000;
// The frame time of a slow animation: a scan still looks live.
constexpr int SCAN_HAND_OVER_INTERVAL_MS = 40;

// The folder as the dialog gave it, without a final separator unless it is the
// root itself.
QString WithoutFinalSeparator(QString folder) {
    while (folder.size() > 1 && folder.endsWith(PATH_SEPARATOR)) {
        folder.chop(1);
    }
    return folder;
}

QString ImportFailureText(ImportFailure failure, const QString& file) {
    switch (failure) {
        case ImportFailure::CannotCreate:
            return QStringLiteral("无法创建歌曲数据库文件 %1，没有导入任何歌曲。").arg(file);
        case ImportFailure::CannotOpen:
            return QStringLiteral("歌曲数据库文件 %1 无法打开或不可写入，没有导入任何歌曲。")
                .arg(file);
        case ImportFailure::CannotWrite:
        case ImportFailure::None:
            break;
    }
    return QStringLiteral("无法写入歌曲数据库文件 %1，没有导入任何歌曲。").arg(file);
}

bool StillOpen(const QPointer<ScanWindow>& window) {
    return window && !window->IsClosed();
}

}  // namespace

ScanWindow::ScanWindow(Transport& transport, QListWidget& mainSongList, Prompts& prompts,
                       LocalClock& clock, QWidget* parent, EventWaits* waits)
    : QDialog(parent),
      ui_(std::make_unique<Ui::ScanWindow>()),
      transport_(transport),
      mainSongList_(&mainSongList),
      prompts_(prompts),
      clock_(clock),
      ownWaits_(waits != nullptr ? nullptr : std::make_unique<RealEventWaits>()),
      waits_(waits != nullptr ? *waits : *ownWaits_) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    ui_->状态条1->SetPartWidths({115, 340});
    时钟1.setObjectName(QStringLiteral("时钟1"));
    ConnectEvents();
    时钟1.SetPeriod(CLOCK_PERIOD_MS);
}

ScanWindow::~ScanWindow() {
    // Children are torn down after this body; nothing may resume meanwhile.
    closed_ = true;
}

void ScanWindow::ConnectEvents() {
    connect(ui_->按钮浏览, &QPushButton::clicked, this, &ScanWindow::BrowseScanFolder);
    connect(ui_->按钮扫描, &QPushButton::clicked, this, &ScanWindow::ScanFolder);
    connect(ui_->按钮导入, &QPushButton::clicked, this, &ScanWindow::ImportScanList);
    connect(ui_->按钮清空, &QPushButton::clicked, this, &ScanWindow::ClearScanList);
    connect(ui_->按钮清数, &QPushButton::clicked, this, &ScanWindow::ClearSongDatabase);
    connect(&时钟1, &PeriodTimer::ticked, this, [this] { ClockTick(*ui_->状态条1, clock_); });
}

void ScanWindow::done(int result) {
    // Whatever runs underneath (a scan, a countdown, a retry) sees this after
    // its next pause and stops.
    closed_ = true;
    时钟1.SetPeriod(0);
    QDialog::done(result);
}

void ScanWindow::ShowStatus(const QString& text) {
    ui_->状态条1->SetPartText(STATUS_MESSAGE_PART, text);
}

void ScanWindow::FlushFoundFiles() {
    if (foundFiles_.isEmpty()) {
        return;
    }
    ui_->列表框1->addItems(foundFiles_);
    ShowStatus(foundFiles_.constLast());
    foundFiles_.clear();
}

void ScanWindow::BrowseScanFolder() {
    FlushFoundFiles();
    const QString folder = prompts_.ChooseFolder(QStringLiteral("选择音乐文件夹"));
    ui_->编辑框1->setText(WithoutFinalSeparator(folder));
    ShowStatus(QStringLiteral("选择文件夹 ") + ui_->编辑框1->text());
}

void ScanWindow::ScanFolder() {
    FlushFoundFiles();
    QString folder = ui_->编辑框1->text();
    if (folder.isEmpty()) {
        return;
    }
    ShowStatus(QStringLiteral("开始扫描……"));
    if (!folder.endsWith(PATH_SEPARATOR)) {
        folder += PATH_SEPARATOR;
    }
    ScanDirectory(folder);
}

void ScanWindow::ScanDirectory(const QString& folder) {
    FlushFoundFiles();
    const QPointer<ScanWindow> self(this);
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    FolderWalkHooks hooks;
    hooks.fileFound = [this](const QString& path) { foundFiles_.append(path); };
    hooks.letEventsRun = [this, &self, &sinceHandOver] {
        if (sinceHandOver.hasExpired(SCAN_HAND_OVER_INTERVAL_MS)) {
            FlushFoundFiles();
            sinceHandOver.restart();
        }
        QCoreApplication::processEvents();
        return StillOpen(self);
    };
    WalkFolderTree(folder, hooks);
    if (self) {
        FlushFoundFiles();
    }
}

void ScanWindow::ImportScanList() {
    FlushFoundFiles();
    const QListWidget& list = *ui_->列表框1;
    QStringList items;
    items.reserve(list.count());
    for (int row = 0; row < list.count(); ++row) {
        items.append(list.item(row)->text());
    }
    const ImportOutcome outcome = ImportIntoSongStore(SongFilesOf(items), SONG_DATABASE_NAME);
    if (outcome.failure != ImportFailure::None) {
        prompts_.ShowMessage(
            ImportFailureText(outcome.failure, QFileInfo(SONG_DATABASE_NAME).absoluteFilePath()),
            QStringLiteral("提示"), BoxIcon::Warning, BoxButtons::Ok);
        return;
    }
    ShowStatus(QStringLiteral("导入数据库完成，导入歌曲%1首").arg(outcome.stored));
    CountDownAndClose();
}

void ScanWindow::CountDownAndClose() {
    const QPointer<ScanWindow> self(this);
    EventWaits& waits = waits_;
    waits.Wait(COUNTDOWN_FIRST_WAIT_MS, *this);
    for (int secondsLeft = COUNTDOWN_SECONDS; secondsLeft > 0; --secondsLeft) {
        if (!StillOpen(self)) {
            return;
        }
        ShowStatus(QStringLiteral("本窗口%1秒后自动关闭").arg(secondsLeft));
        waits.Wait(COUNTDOWN_STEP_MS, *this);
    }
    if (StillOpen(self)) {
        accept();
    }
}

void ScanWindow::ClearScanList() {
    FlushFoundFiles();
    ui_->列表框1->clear();
}

void ScanWindow::ClearSongDatabase() {
    FlushFoundFiles();
    transport_.StopPlayback();
    const QFileInfo storeFile(SONG_DATABASE_NAME);
    const bool storePresent = storeFile.exists() || storeFile.isSymLink();
    SongDatabase store;
    store.Open(SONG_DATABASE_NAME);
    const QPointer<ScanWindow> self(this);
    const BoxAnswer answer = prompts_.ShowMessage(
        QStringLiteral("当前音乐数据库共有歌曲 %1 首，您是否要全部清空？").arg(store.RecordCount()),
        QStringLiteral("提醒"), BoxIcon::None, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes || !StillOpen(self)) {
        return;
    }
    if (storePresent && !ClearWithRetries(store)) {
        return;
    }
    // Without a store there is nothing to clear and nothing to wait for.
    if (mainSongList_) {
        mainSongList_->clear();
    }
    ShowStatus(QStringLiteral("已经清空歌曲数据库"));
}

bool ScanWindow::ClearWithRetries(SongDatabase& store) {
    // Another program may hold the store for a moment; give it a few seconds,
    // but never hang the player on it.
    const QPointer<ScanWindow> self(this);
    EventWaits& waits = waits_;
    const qint64 deadline = waits.Elapsed() + CLEAR_RETRY_LIMIT_MS;
    bool cleared = store.IsOpen() && store.Clear();
    while (!cleared && waits.Elapsed() < deadline) {
        waits.Wait(CLEAR_RETRY_STEP_MS, *this);
        if (!StillOpen(self)) {
            return false;
        }
        cleared = (store.IsOpen() || store.Open(SONG_DATABASE_NAME)) && store.Clear();
    }
    const bool opened = store.IsOpen();
    store.Close();
    if (!cleared) {
        ShowStatus(opened ? QStringLiteral("数据库正被其他程序使用，未能清空")
                          : QStringLiteral("歌曲数据库无法打开，未能清空"));
    }
    return cleared;
}

}  // namespace tunvell
