#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tunvell::e2e {

// Runs a command to its end and returns its standard output; nullopt when it
// could not run or failed.
std::optional<QString> Run(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment, int timeoutMs = 20000);

// A private X display (Xvfb) with a small window manager, so that windows get
// frames, focus and close requests as on a desktop.
class VirtualDisplay {
public:
    ~VirtualDisplay();
    // withWindowManager false leaves top-level windows mapped straight on the
    // root window, which lets a watcher see exactly when they appear.
    bool Start(const QString& runtimeDirectory, bool withWindowManager = true);
    QString Name() const { return name_; }
    qint64 ServerPid() const { return xvfb_.processId(); }
    // The system environment with this display and its runtime directory.
    const QProcessEnvironment& Environment() const { return environment_; }
    // Starts a tray host at the bottom right; false where none can run.
    bool StartTray();

private:
    QProcess xvfb_;
    QProcess windowManager_;
    QProcess tray_;
    QString name_;
    QProcessEnvironment environment_;
};

// A private PulseAudio server whose default sink is a null sink.
class SoundServer {
public:
    ~SoundServer();
    bool Start(const QString& directory);
    void Stop();
    bool IsRunning() const { return started_; }
    // The variables that lead clients to this server.
    void AddTo(QProcessEnvironment& environment) const;
    QString Directory() const { return directory_; }

private:
    QString directory_;
    bool started_ = false;
};

// A private runtime directory (mode 0700) named `name` below `parent`, as a
// desktop session has one.
QString MakeRuntimeDirectory(const QString& parent, const QString& name);

// What a program started on this display and sound server sees: neither the
// headless platform nor the silent audio driver of the unit tests.
QProcessEnvironment ClientEnvironment(const VirtualDisplay& display, const SoundServer& sound);

// Records what the null sink plays, as 16-bit stereo at 44100 Hz.
class Recorder {
public:
    ~Recorder();
    bool Start(const QProcessEnvironment& environment, const QString& file);
    // Stops and returns the left channel as floats in -1..1.
    std::vector<float> Stop();

private:
    QProcess parec_;
    QString file_;
};

// Which of `candidates` (Hz) dominates the stretch [from, to) seconds of the
// samples at 44100 Hz; 0 when the stretch is silent or none stands out.
double DominantTone(const std::vector<float>& samples, double from, double to,
                    const std::vector<double>& candidates);

// The tone of each quarter second, as DominantTone gives it.
std::vector<double> ToneTimeline(const std::vector<float>& samples,
                                 const std::vector<double>& candidates);

// X windows through xdotool.
class Desktop {
public:
    explicit Desktop(QProcessEnvironment environment) : environment_(std::move(environment)) {}

    // The first visible window whose name matches exactly, waiting up to timeoutMs.
    std::optional<QString> WaitForWindow(const QString& name, int timeoutMs = 10000) const;
    bool WindowExists(const QString& name) const;
    std::optional<QRect> Geometry(const QString& window) const;
    // Clicks at client coordinates of the window.
    bool Click(const QString& window, int x, int y) const;
    bool DoubleClick(const QString& window, int x, int y) const;
    // Clicks with a button at screen coordinates.
    bool ClickScreen(QPoint point, int button) const;
    // The centre of the program's icon in the tray, in screen coordinates.
    std::optional<QPoint> TrayIcon(const QString& program, int timeoutMs = 5000) const;
    bool Minimise(const QString& window) const;
    // What the screen shows of the window's client area in rect, as the X
    // server has it; a null image when it cannot be read.
    QImage Picture(const QString& window, const QRect& rect) const;
    // Keys to whatever has the keyboard now (a pop-up menu, say).
    bool KeyToFocus(const QString& keys) const;
    bool Key(const QString& window, const QString& keys) const;
    bool Type(const QString& window, const QString& text) const;

private:
    QProcessEnvironment environment_;
};

}  // namespace tunvell::e2e
