// The real player under a real display and sound server, checked from outside
// as a user's machine would show it.
#include <QtTest>

#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>

#include "library/song_database.h"
#include "tests/e2e/e2e_session.h"

using namespace tunvell;
using namespace tunvell::e2e;

namespace {

// Exit code that CTest reports as "skipped".
constexpr int SKIPPED = 77;
bool g_environmentMissing = false;

const std::vector<double> TONES = {440, 1000, 2500};

QString Fixture(const QString& name) {
    return QStringLiteral(TUNVELL_SOURCE_DIR "/tests/fixtures/") + name;
}

// Client coordinates of a control's centre in the main window.
const QPoint SCAN_BUTTON(503, 28);
const QPoint SETTINGS_BUTTON(503, 109);
const QPoint PLAY_BUTTON(97, 111);
// The spectrum canvas inside its one-pixel edge.
const QRect CANVAS_INTERIOR(16, 33, 202, 43);

}  // namespace

class EndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void autoPlayInLoopModePlaysOneSongAfterTheOther();
    void startUpRaisesOnlyATooLowVolume_data();
    void startUpRaisesOnlyATooLowVolume();
    void secondStartShowsItsMessageAndLeavesTheFirstPlaying();
    void scanAndImportStoreTheSongs();
    void applyingSettingsWritesTheFile();
    void closingWhilePlayingAsks();
    void badFilesNeitherStopNorHurtThePlayer_data();
    void badFilesNeitherStopNorHurtThePlayer();
    void aSongDeletedAfterImportIsSkippedQuietly();
    void losingTheSoundServerWhilePlayingIsSurvived();
    void doubleClickPlaysTheSongHeard();
    void trayHidesShowsAndExitsWithoutAsking();
    void readOnlyProgramDirectoryLosesNothing();

private:
    // A fresh program directory: the binary, a store listing `songs`, and a
    // settings file when `config` is not empty.
    void LayOut(const QStringList& songs, const QByteArray& config);
    bool StartPlayer(QProcess& player, bool waitForWindow = true);
    QProcessEnvironment PlayerEnvironment() const;
    std::optional<QString> MainWindow() const;
    QStringList StoredPaths() const;
    QString SinkVolume() const;

    QTemporaryDir scratch_;
    VirtualDisplay display_;
    SoundServer sound_;
    std::unique_ptr<QTemporaryDir> programDir_;
    std::vector<std::unique_ptr<QProcess>> players_;
};

void EndToEndTest::initTestCase() {
    if (!display_.Start(MakeRuntimeDirectory(scratch_.path(), QStringLiteral("xdg")))) {
        g_environmentMissing = true;
        QSKIP("Xvfb cannot start here");
    }
    if (!sound_.Start(scratch_.filePath(QStringLiteral("pulse")))) {
        g_environmentMissing = true;
        QSKIP("PulseAudio cannot start here");
    }
}

void EndToEndTest::init() {
    if (g_environmentMissing) {
        QSKIP("no display or sound server");
    }
    if (!sound_.IsRunning()) {
        QVERIFY(sound_.Start(scratch_.filePath(QStringLiteral("pulse"))));
    }
    // Each test starts from a sink at half volume.
    QVERIFY(
        Run(QStringLiteral("pactl"),
            {QStringLiteral("set-sink-volume"), QStringLiteral("nullsink"), QStringLiteral("50%")},
            PlayerEnvironment()));
}

void EndToEndTest::cleanup() {
    for (auto& player : players_) {
        if (player->state() != QProcess::NotRunning) {
            player->kill();
            player->waitForFinished(5000);
        }
    }
    players_.clear();
    programDir_.reset();
}

QProcessEnvironment EndToEndTest::PlayerEnvironment() const {
    return ClientEnvironment(display_, sound_);
}

void EndToEndTest::LayOut(const QStringList& songs, const QByteArray& config) {
    programDir_ = std::make_unique<QTemporaryDir>();
    const QString binary = programDir_->filePath(QStringLiteral("tunvell"));
    QVERIFY(QFile::copy(QStringLiteral(TUNVELL_BINARY), binary));
    const QString store = programDir_->filePath(SONG_DATABASE_NAME);
    QVERIFY(SongDatabase::CreateEmpty(store));
    SongDatabase database;
    QVERIFY(database.Open(store));
    for (const QString& song : songs) {
        database.AddRecord(song);
    }
    database.Close();
    if (!config.isEmpty()) {
        QFile file(programDir_->filePath(QStringLiteral("config.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(config);
    }
}

bool EndToEndTest::StartPlayer(QProcess& player, bool waitForWindow) {
    player.setProcessEnvironment(PlayerEnvironment());
    player.setWorkingDirectory(QDir::tempPath());
    player.start(programDir_->filePath(QStringLiteral("tunvell")), {});
    if (!player.waitForStarted(5000)) {
        return false;
    }
    return !waitForWindow || MainWindow().has_value();
}

std::optional<QString> EndToEndTest::MainWindow() const {
    return Desktop(PlayerEnvironment()).WaitForWindow(QStringLiteral("Tunvell v3.6"));
}

QStringList EndToEndTest::StoredPaths() const {
    const auto output = Run(QStringLiteral("sqlite3"),
                            {programDir_->filePath(SONG_DATABASE_NAME),
                             QStringLiteral("SELECT path FROM songs ORDER BY rowid;")},
                            PlayerEnvironment());
    return output ? output->split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList{};
}

QString EndToEndTest::SinkVolume() const {
    return Run(QStringLiteral("pactl"),
               {QStringLiteral("get-sink-volume"), QStringLiteral("nullsink")}, PlayerEnvironment())
        .value_or(QString());
}

void EndToEndTest::autoPlayInLoopModePlaysOneSongAfterTheOther() {
    LayOut({Fixture(QStringLiteral("tone_440.mp3")), Fixture(QStringLiteral("tone_1000.mp3")),
            Fixture(QStringLiteral("tone_2500.mp3"))},
           "[mode]\npmd=1\n[autorun]\npar=1\n");
    Recorder recorder;
    QVERIFY(recorder.Start(PlayerEnvironment(), scratch_.filePath(QStringLiteral("loop.raw"))));
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    QTest::qWait(11000);
    const std::vector<double> timeline = ToneTimeline(recorder.Stop(), TONES);

    // The tones in the order heard, each stretch once.
    std::vector<double> heard;
    for (const double tone : timeline) {
        if (tone != 0 && (heard.empty() || heard.back() != tone)) {
            heard.push_back(tone);
        }
    }
    QVERIFY2(heard.size() >= 2, qPrintable(QString::number(heard.size())));
    QCOMPARE(heard[0], 440.0);
    QCOMPARE(heard[1], 1000.0);
}

void EndToEndTest::startUpRaisesOnlyATooLowVolume_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("below the low limit is raised") << u"1%"_qs << u"75%"_qs;
    QTest::newRow("within range is left alone") << u"40%"_qs << u"40%"_qs;
}

void EndToEndTest::startUpRaisesOnlyATooLowVolume() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QVERIFY(Run(QStringLiteral("pactl"),
                {QStringLiteral("set-sink-volume"), QStringLiteral("nullsink"), before},
                PlayerEnvironment()));
    LayOut({}, {});
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    QTest::qWait(500);
    const QString volume = SinkVolume();
    QVERIFY2(volume.contains(QLatin1Char(' ') + after), qPrintable(volume));
}

void EndToEndTest::secondStartShowsItsMessageAndLeavesTheFirstPlaying() {
    LayOut({Fixture(QStringLiteral("tone_440.mp3"))}, "[mode]\npmd=1\n[autorun]\npar=1\n");
    auto& first = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(first));
    auto& second = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(second, false));

    const Desktop desktop(PlayerEnvironment());
    const auto box = desktop.WaitForWindow(QStringLiteral("信息："));
    QVERIFY(box.has_value());
    QVERIFY(desktop.Key(*box, QStringLiteral("Return")));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QVERIFY(MainWindow().has_value());
}

void EndToEndTest::scanAndImportStoreTheSongs() {
    QTemporaryDir music;
    for (const QString& name : {u"tone_440.mp3"_qs, u"tone_1000.mp3"_qs}) {
        QVERIFY(QFile::copy(Fixture(name), music.filePath(name)));
    }
    QFile notes(music.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    LayOut({}, {});
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));

    const Desktop desktop(PlayerEnvironment());
    const auto main = MainWindow();
    QVERIFY(desktop.Click(*main, SCAN_BUTTON.x(), SCAN_BUTTON.y()));
    const auto scan = desktop.WaitForWindow(QStringLiteral("扫描文件"));
    QVERIFY(scan.has_value());
    QVERIFY(desktop.Click(*scan, 100, 24));  // 编辑框1
    QVERIFY(desktop.Type(*scan, music.path()));
    QVERIFY(desktop.Click(*scan, 274, 70));  // 按钮扫描
    QTest::qWait(500);
    QVERIFY(desktop.Click(*scan, 274, 110));  // 按钮导入
    // The window closes itself after its countdown.
    QTRY_VERIFY_WITH_TIMEOUT(!desktop.WindowExists(QStringLiteral("扫描文件")), 12000);

    QStringList stored = StoredPaths();
    stored.sort();
    QCOMPARE(stored, (QStringList{music.filePath(QStringLiteral("tone_1000.mp3")),
                                  music.filePath(QStringLiteral("tone_440.mp3"))}));
}

void EndToEndTest::applyingSettingsWritesTheFile() {
    LayOut({}, {});
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    const Desktop desktop(PlayerEnvironment());
    QVERIFY(desktop.Click(*MainWindow(), SETTINGS_BUTTON.x(), SETTINGS_BUTTON.y()));
    const auto settings = desktop.WaitForWindow(QStringLiteral("播放设置"));
    QVERIFY(settings.has_value());
    QVERIFY(desktop.Click(*settings, 226, 129));  // 按钮设置

    QFile file(programDir_->filePath(QStringLiteral("config.ini")));
    QTRY_VERIFY_WITH_TIMEOUT(file.exists(), 5000);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    for (QString& line : lines) {
        line = line.trimmed();
    }
    QCOMPARE(lines,
             (QStringList{u"[mode]"_qs, u"pmd=0"_qs, u"[autorun]"_qs, u"par=0"_qs, u"[position]"_qs,
                          u"pos=7"_qs, u"[color]"_qs, u"cl1=16777215"_qs, u"cl2=12295509"_qs}));
}

void EndToEndTest::closingWhilePlayingAsks() {
    LayOut({Fixture(QStringLiteral("tone_440.mp3"))}, "[mode]\npmd=1\n[autorun]\npar=1\n");
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    QTest::qWait(1500);  // the first progress tick starts the song
    const Desktop desktop(PlayerEnvironment());
    const auto main = MainWindow();

    QVERIFY(desktop.Key(*main, QStringLiteral("alt+F4")));
    auto question = desktop.WaitForWindow(QStringLiteral("警告"));
    QVERIFY(question.has_value());
    QVERIFY(desktop.Key(*question, QStringLiteral("Escape")));  // No
    QTest::qWait(500);
    QCOMPARE(player.state(), QProcess::Running);

    QVERIFY(desktop.Key(*MainWindow(), QStringLiteral("alt+F4")));
    question = desktop.WaitForWindow(QStringLiteral("警告"));
    QVERIFY(question.has_value());
    QVERIFY(desktop.Key(*question, QStringLiteral("Return")));  // Yes, the default
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitCode(), 0);
}

void EndToEndTest::badFilesNeitherStopNorHurtThePlayer_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("garbage store")
        << SONG_DATABASE_NAME << QByteArray("not a database\x01\x02", 16);
    QTest::newRow("garbage settings")
        << u"config.ini"_qs << QByteArray("\xff\xfe[[pos=\n=\x01", 11);
}

void EndToEndTest::badFilesNeitherStopNorHurtThePlayer() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    LayOut({}, {});
    const QString path = programDir_->filePath(file);
    QFile::remove(path);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    QTest::qWait(1500);
    QCOMPARE(player.state(), QProcess::Running);
    player.terminate();
    player.waitForFinished(5000);
    QFile in(path);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.readAll(), content);
}

void EndToEndTest::aSongDeletedAfterImportIsSkippedQuietly() {
    QTemporaryDir music;
    const QString song = music.filePath(QStringLiteral("gone.mp3"));
    QVERIFY(QFile::copy(Fixture(QStringLiteral("tone_440.mp3")), song));
    LayOut({song}, "[mode]\npmd=1\n[autorun]\npar=1\n");
    QVERIFY(QFile::remove(song));
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    // The file is gone: it fails to open and the next song is tried, quietly.
    QTest::qWait(3000);
    QCOMPARE(player.state(), QProcess::Running);
    QCOMPARE(StoredPaths(), QStringList{song});
}

void EndToEndTest::losingTheSoundServerWhilePlayingIsSurvived() {
    LayOut({Fixture(QStringLiteral("tone_440.mp3"))}, "[mode]\npmd=1\n[autorun]\npar=1\n");
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    QTest::qWait(2000);
    sound_.Stop();
    QTest::qWait(3000);
    QCOMPARE(player.state(), QProcess::Running);
    QVERIFY(MainWindow().has_value());
}

void EndToEndTest::doubleClickPlaysTheSongHeard() {
    LayOut({Fixture(QStringLiteral("tone_2500.mp3")), Fixture(QStringLiteral("tone_440.mp3"))}, {});
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    Recorder recorder;
    QVERIFY(recorder.Start(PlayerEnvironment(), scratch_.filePath(QStringLiteral("click.raw"))));
    // The first item of 列表框歌曲 (249,7; 247 x 122).
    QVERIFY(Desktop(PlayerEnvironment()).DoubleClick(*MainWindow(), 300, 16));
    QTest::qWait(3000);
    const std::vector<double> timeline = ToneTimeline(recorder.Stop(), TONES);
    QVERIFY(std::count(timeline.begin(), timeline.end(), 2500.0) >= 4);
    QCOMPARE(std::count(timeline.begin(), timeline.end(), 440.0), 0);
}

void EndToEndTest::trayHidesShowsAndExitsWithoutAsking() {
    if (!display_.StartTray()) {
        QSKIP("no tray host can run here");
    }
    LayOut({Fixture(QStringLiteral("tone_440.mp3"))}, "[mode]\npmd=1\n[autorun]\npar=1\n");
    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    QVERIFY(StartPlayer(player));
    const Desktop desktop(PlayerEnvironment());
    const auto icon = desktop.TrayIcon(QStringLiteral("tunvell"));
    QVERIFY(icon.has_value());
    QTest::qWait(1500);  // playing by now

    // Paused, the spectrum stands still: it is on the screen, bars and all.
    QVERIFY(desktop.Click(*MainWindow(), PLAY_BUTTON.x(), PLAY_BUTTON.y()));
    QTest::qWait(500);
    const QImage paused = desktop.Picture(*MainWindow(), CANVAS_INTERIOR);
    QVERIFY(!paused.isNull());
    QImage background(paused.size(), paused.format());
    background.fill(paused.pixel(paused.width() - 1, 0));  // the high bins never rise
    QVERIFY2(paused != background, "no bar on the spectrum");

    // Minimising hides the window; a left click on the icon brings it back,
    // with the still spectrum drawn again.
    QVERIFY(desktop.Minimise(*MainWindow()));
    QTRY_VERIFY_WITH_TIMEOUT(!desktop.WindowExists(QStringLiteral("Tunvell v3.6")), 5000);
    QVERIFY(desktop.ClickScreen(*icon, 1));
    QVERIFY(desktop.WaitForWindow(QStringLiteral("Tunvell v3.6"), 5000).has_value());
    QTRY_COMPARE_WITH_TIMEOUT(desktop.Picture(*MainWindow(), CANVAS_INTERIOR), paused, 5000);

    // The right button opens the menu; its last entry, 退出, ends at once.
    QVERIFY(desktop.ClickScreen(*icon, 3));
    QTest::qWait(500);
    QVERIFY(desktop.KeyToFocus(QStringLiteral("Up")));
    QVERIFY(desktop.KeyToFocus(QStringLiteral("Return")));
    QVERIFY(player.waitForFinished(10000));
    QCOMPARE(player.exitCode(), 0);
    QVERIFY(!desktop.WindowExists(QStringLiteral("警告")));
}

void EndToEndTest::readOnlyProgramDirectoryLosesNothing() {
    // Root ignores file modes, so the directory is made read-only the way a
    // read-only medium is: a file system mounted read-only.
    QTemporaryDir mountPoint;
    if (!Run(QStringLiteral("mount"),
             {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
              QStringLiteral("size=64m"), QStringLiteral("tmpfs"), mountPoint.path()},
             PlayerEnvironment())) {
        QSKIP("cannot mount a file system here");
    }
    const auto unmount = qScopeGuard([&] {
        Run(QStringLiteral("umount"), {QStringLiteral("-l"), mountPoint.path()},
            PlayerEnvironment());
    });
    LayOut({Fixture(QStringLiteral("tone_440.mp3"))}, "[mode]\npmd=1\n[autorun]\npar=0\n");
    for (const QString& name : {u"tunvell"_qs, SONG_DATABASE_NAME, u"config.ini"_qs}) {
        QVERIFY(QFile::copy(programDir_->filePath(name), mountPoint.filePath(name)));
    }
    QFile::setPermissions(mountPoint.filePath(QStringLiteral("tunvell")),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QVERIFY(Run(QStringLiteral("mount"),
                {QStringLiteral("-o"), QStringLiteral("remount,ro"), mountPoint.path()},
                PlayerEnvironment()));
    QFile config(mountPoint.filePath(QStringLiteral("config.ini")));
    QVERIFY(config.open(QIODevice::ReadOnly));
    const QByteArray settingsBefore = config.readAll();
    config.close();

    auto& player = *players_.emplace_back(std::make_unique<QProcess>());
    player.setProcessEnvironment(PlayerEnvironment());
    player.start(mountPoint.filePath(QStringLiteral("tunvell")), {});
    QVERIFY(player.waitForStarted(5000));
    const Desktop desktop(PlayerEnvironment());
    const auto main = MainWindow();
    QVERIFY(main.has_value());
    // Applying settings cannot save them; the player goes on all the same.
    QVERIFY(desktop.Click(*main, SETTINGS_BUTTON.x(), SETTINGS_BUTTON.y()));
    const auto settings = desktop.WaitForWindow(QStringLiteral("播放设置"));
    QVERIFY(settings.has_value());
    QVERIFY(desktop.Click(*settings, 226, 129));  // 按钮设置
    QTest::qWait(500);
    QCOMPARE(player.state(), QProcess::Running);
    QVERIFY(config.open(QIODevice::ReadOnly));
    QCOMPARE(config.readAll(), settingsBefore);
    player.kill();
    player.waitForFinished(5000);
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    EndToEndTest test;
    const int failures = QTest::qExec(&test, argc, argv);
    if (failures == 0 && g_environmentMissing) {
        return SKIPPED;
    }
    return failures;
}

#include "test_e2e.moc"
