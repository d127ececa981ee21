// What the real player costs while it plays: CPU per minute of playback,
// resident memory, threads and start-up time, under a private Xvfb and a null
// PulseAudio sink, printed beside references measured in the same run: the idle
// display server, the command-line decoder playing the same file, and a Qt
// window that does nothing but take the spectrum's 30 ms timer.
//
//   playback_cost [--runs N] [--seconds S]
#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "library/song_database.h"
#include "tests/e2e/e2e_session.h"

// Xlib's macros (Bool, Status, None) clash with Qt's names: it comes last.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace tunvell;
using namespace tunvell::e2e;
using Clock = std::chrono::steady_clock;

namespace {

struct ProcessSample {
    double cpuSeconds = 0;  // user + system
    double rssMiB = 0;
    double peakRssMiB = 0;
    int threads = 0;
};

ProcessSample Sample(qint64 pid) {
    ProcessSample sample;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        // Fields after the command name, which is in parentheses and may hold blanks.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) {
            const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
            sample.cpuSeconds = (fields[11].toDouble() + fields[12].toDouble()) / ticks;
        }
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() < 2) {
                continue;
            }
            if (parts[0] == "VmRSS:")
                sample.rssMiB = parts[1].toDouble() / 1024;
            if (parts[0] == "VmHWM:")
                sample.peakRssMiB = parts[1].toDouble() / 1024;
            if (parts[0] == "Threads:")
                sample.threads = parts[1].toInt();
        }
    }
    return sample;
}

// Sees top-level windows appear on a display without a window manager.
class MapWatcher {
public:
    explicit MapWatcher(const QString& display) {
        // A display server that has just lost its last client resets and
        // refuses connections for a moment: try again for a few seconds.
        for (int attempt = 0; attempt < 50 && x_ == nullptr; ++attempt) {
            x_ = XOpenDisplay(display.toLocal8Bit().constData());
            if (x_ == nullptr) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
        if (x_ != nullptr) {
            XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
            XSync(x_, False);
        }
    }
    ~MapWatcher() {
        if (x_ != nullptr) {
            XCloseDisplay(x_);
        }
    }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool Connected() const { return x_ != nullptr; }

    // The moment a window of that title was mapped; nullopt on time-out.
    std::optional<Clock::time_point> WaitFor(const char* title, std::chrono::seconds timeout) {
        const auto deadline = Clock::now() + timeout;
        while (x_ != nullptr && Clock::now() < deadline) {
            while (XPending(x_) > 0) {
                XEvent event;
                XNextEvent(x_, &event);
                if (event.type == MapNotify && HasTitle(event.xmap.window, title)) {
                    return Clock::now();
                }
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(ConnectionNumber(x_), &readable);
            timeval wait{0, 2000};
            select(ConnectionNumber(x_) + 1, &readable, nullptr, nullptr, &wait);
        }
        return std::nullopt;
    }

private:
    bool HasTitle(Window window, const char* title) {
        // Qt writes the title as UTF-8 text; an ASCII title is the same bytes.
        XTextProperty name{};
        const bool same =
            XGetWMName(x_, window, &name) != 0 && name.value != nullptr &&
            std::string_view(reinterpret_cast<const char*>(name.value), name.nitems) == title;
        if (name.value != nullptr) {
            XFree(name.value);
        }
        return same;
    }

    ::Display* x_ = nullptr;
};

struct Figures {
    std::vector<double> cpuPercent, steadyMiB, peakMiB, threads, startUpMs, displayCpuPercent;
};

void PrintRow(const char* label, std::vector<double> values, const char* unit) {
    if (values.empty()) {
        std::printf("  %-34s (no data)\n", label);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("  %-34s %9.2f %9.2f %9.2f  %s\n", label, values.front(), values[values.size() / 2],
                values.back(), unit);
}

double PercentOfCore(double cpuSeconds, double wallSeconds) {
    return 100.0 * cpuSeconds / wallSeconds;
}

bool MakeSong(const QString& path, int seconds) {
    const QString wav = path + QStringLiteral(".wav");
    // Pink noise under a slow tremolo: every bar of the spectrum moves.
    const bool made =
        Run(QStringLiteral("sox"),
            {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
             QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"),
             wav, QStringLiteral("synth"), QString::number(seconds), QStringLiteral("pinknoise"),
             QStringLiteral("tremolo"), QStringLiteral("0.5"), QStringLiteral("80"),
             QStringLiteral("vol"), QStringLiteral("0.5")},
            QProcessEnvironment::systemEnvironment(), 120000)
            .has_value() &&
        Run(QStringLiteral("lame"),
            {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("192"), wav, path},
            QProcessEnvironment::systemEnvironment(), 300000)
            .has_value();
    QFile::remove(wav);
    return made;
}

struct Reference {
    double cpuPercent = -1;
    double rssMiB = -1;
};

// Runs another program for a while and measures it the way the player is.
Reference MeasureReference(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment, int seconds) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    Reference reference;
    if (process.waitForStarted(5000)) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const ProcessSample before = Sample(process.processId());
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        const ProcessSample after = Sample(process.processId());
        reference.cpuPercent = PercentOfCore(after.cpuSeconds - before.cpuSeconds, seconds);
        reference.rssMiB = after.rssMiB;
        process.kill();
        process.waitForFinished(5000);
    }
    return reference;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int runs = 3;
    int seconds = 60;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--runs"))
            runs = std::max(1, arguments[i + 1].toInt());
        if (arguments[i] == QLatin1String("--seconds"))
            seconds = std::max(5, arguments[i + 1].toInt());
    }

    QTemporaryDir scratch;
    const QString runtime = MakeRuntimeDirectory(scratch.path(), QStringLiteral("xdg"));
    VirtualDisplay display;
    SoundServer sound;
    if (!display.Start(runtime, false) || !sound.Start(scratch.filePath(QStringLiteral("pulse")))) {
        std::fprintf(stderr, "playback_cost: Xvfb or PulseAudio cannot start here\n");
        return 1;
    }
    const QProcessEnvironment environment = ClientEnvironment(display, sound);

    const QString song = scratch.filePath(QStringLiteral("three_minutes.mp3"));
    if (!MakeSong(song, 180)) {
        std::fprintf(stderr, "playback_cost: cannot make the test song (sox, lame)\n");
        return 1;
    }

    // The program directory: binary, a store with the one song, auto-play on.
    const QString programDir = scratch.filePath(QStringLiteral("program"));
    QDir().mkpath(programDir);
    const QString binary = programDir + QStringLiteral("/tunvell");
    QFile::copy(QStringLiteral(TUNVELL_BINARY), binary);
    SongDatabase::CreateEmpty(programDir + QLatin1Char('/') + SONG_DATABASE_NAME);
    SongDatabase store;
    store.Open(programDir + QLatin1Char('/') + SONG_DATABASE_NAME);
    store.AddRecord(song);
    store.Close();
    QFile config(programDir + QStringLiteral("/config.ini"));
    config.open(QIODevice::WriteOnly);
    config.write("[mode]\npmd=1\n[autorun]\npar=1\n");
    config.close();

    std::printf(
        "playback_cost: %d runs, %d s of playback each, 3-minute 44.1 kHz stereo MP3, "
        "spectrum visible\n\n",
        runs, seconds);

    // Reference: the display server with nothing to show.
    const ProcessSample idleBefore = Sample(display.ServerPid());
    std::this_thread::sleep_for(std::chrono::seconds(seconds / 3));
    const double idleDisplayCpu =
        PercentOfCore(Sample(display.ServerPid()).cpuSeconds - idleBefore.cpuSeconds, seconds / 3);

    Figures tunvell;
    for (int run = 0; run < runs; ++run) {
        MapWatcher watcher(display.Name());
        QProcess player;
        player.setProcessEnvironment(environment);
        // Nobody reads the player's streams while it is measured.
        player.setStandardOutputFile(QProcess::nullDevice());
        player.setStandardErrorFile(QProcess::nullDevice());
        const auto started = Clock::now();
        player.start(binary, {});
        const auto mapped = watcher.WaitFor("Tunvell v3.6", std::chrono::seconds(30));
        if (!player.waitForStarted(5000) || !mapped) {
            std::fprintf(stderr, "playback_cost: the player did not show its window%s\n",
                         watcher.Connected() ? "" : " (cannot watch the display)");
            return 1;
        }
        tunvell.startUpMs.push_back(
            std::chrono::duration<double, std::milli>(*mapped - started).count());
        // The first progress tick starts the song; let it settle.
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const ProcessSample before = Sample(player.processId());
        const ProcessSample displayBefore = Sample(display.ServerPid());
        std::vector<double> rss;
        for (int second = 0; second < seconds; ++second) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            rss.push_back(Sample(player.processId()).rssMiB);
        }
        const ProcessSample after = Sample(player.processId());
        const ProcessSample displayAfter = Sample(display.ServerPid());
        std::sort(rss.begin(), rss.end());
        tunvell.cpuPercent.push_back(PercentOfCore(after.cpuSeconds - before.cpuSeconds, seconds));
        tunvell.displayCpuPercent.push_back(
            PercentOfCore(displayAfter.cpuSeconds - displayBefore.cpuSeconds, seconds));
        tunvell.steadyMiB.push_back(rss[rss.size() / 2]);
        tunvell.peakMiB.push_back(after.peakRssMiB);
        tunvell.threads.push_back(after.threads);
        player.kill();
        player.waitForFinished(5000);
    }

    // References: the command-line decoder playing the same file into the same
    // sink, and a Qt window that only takes the spectrum's 30 ms timer.
    const Reference decoder = MeasureReference(
        QStringLiteral("mpg123"),
        {QStringLiteral("-q"), QStringLiteral("-o"), QStringLiteral("pulse"), song}, environment,
        seconds / 2);
    const Reference timerOnly =
        MeasureReference(QStringLiteral(TIMER_FLOOR_BINARY), {}, environment, seconds / 2);

    std::printf("  %-34s %9s %9s %9s\n", "tunvell", "min", "median", "max");
    PrintRow("CPU while playing", tunvell.cpuPercent, "% of one core (goal < 1)");
    PrintRow("resident memory, steady", tunvell.steadyMiB, "MiB (goal < 45)");
    PrintRow("resident memory, peak", tunvell.peakMiB, "MiB");
    PrintRow("threads", tunvell.threads, "");
    PrintRow("start-up to window mapped", tunvell.startUpMs, "ms (goal < 120)");
    PrintRow("Xvfb CPU while it plays", tunvell.displayCpuPercent, "% of one core");
    std::printf("\n  references in the same run\n");
    std::printf("  %-34s %9.2f  %% of one core\n", "Xvfb CPU, idle", idleDisplayCpu);
    std::printf("  %-34s %9.2f  %% of one core\n", "mpg123 -o pulse CPU, same file",
                decoder.cpuPercent);
    std::printf("  %-34s %9.2f  MiB\n", "mpg123 resident memory", decoder.rssMiB);
    std::printf("  %-34s %9.2f  %% of one core\n", "Qt window with a 30 ms timer only",
                timerOnly.cpuPercent);
    return 0;
}
