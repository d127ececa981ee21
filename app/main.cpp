#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/core/local_clock.h"
#include "app/core/player_state.h"
#include "app/core/qt_prompts.h"
#include "app/core/random_source.h"
#include "app/main_window.h"
#include "app/shell.h"
#include "playback/engine.h"
#include "spectrum/spectrum.h"
#include "volume/alsa_mixer.h"
#include "volume/volume_control.h"

namespace {

#ifdef NDEBUG
// A desktop program has no console to talk to: the release build keeps quiet
// and only lets a fatal message through.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs(qPrintable(message), stderr);
        std::fputc('\n', stderr);
    }
}
#endif

// Releases the state record on every way out of main.
class ReleaseAtExit {
public:
    explicit ReleaseAtExit(tunvell::PlayerState& state) : state_(state) {}
    ~ReleaseAtExit() { tunvell::ReleaseGlobals(state_); }
    ReleaseAtExit(const ReleaseAtExit&) = delete;
    ReleaseAtExit& operator=(const ReleaseAtExit&) = delete;

private:
    tunvell::PlayerState& state_;
};

}  // namespace

int main(int argc, char* argv[]) {
#ifdef NDEBUG
    qInstallMessageHandler(QuietMessages);
#endif
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // The program speaks Chinese whatever the locale, so Qt's own buttons and
    // dialogs ("是", "否", the file dialog) do too, where the translation exists.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    const QString programDirectory = QCoreApplication::applicationDirPath();
    // "name.edb" is opened by its relative name and so found beside the program.
    QDir::setCurrent(programDirectory);

    tunvell::PlayerState state;
    tunvell::AllocateSpectrumBuffers(state);
    const ReleaseAtExit release(state);

    tunvell::QtPrompts prompts;
    tunvell::AlsaMixer mixer;
    if (!tunvell::OpenMasterVolume(mixer, prompts)) {
        return 0;
    }

    const std::unique_ptr<tunvell::AudioOutput> audio = tunvell::MakeAudioEngine();
    tunvell::SystemClock clock;
    tunvell::MersenneRandom random;
    tunvell::MainWindow window(
        tunvell::Services{state, *audio, mixer, prompts, clock, random, programDirectory});
    QObject::connect(&window, &tunvell::MainWindow::windowDestroyed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    tunvell::StartPlayer(window);
    if (window.IsDestroyed()) {
        return 0;
    }
    return QApplication::exec();
}
