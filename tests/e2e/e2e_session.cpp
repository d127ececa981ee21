#include "tests/e2e/e2e_session.h"

#include <cmath>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

namespace tunvell::e2e {

namespace {

constexpr int SAMPLE_RATE = 44100;

void StopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

QString SoundServerScript() {
    return QStringLiteral(TUNVELL_SOURCE_DIR "/tests/e2e/sound_server.sh");
}

}  // namespace

std::optional<QString> Run(const QString& program, const QStringList& arguments,
                           const QProcessEnvironment& environment, int timeoutMs) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(5000)) {
        return std::nullopt;
    }
    if (!process.waitForFinished(timeoutMs)) {
        StopProcess(process);
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

VirtualDisplay::~VirtualDisplay() {
    StopProcess(tray_);
    StopProcess(windowManager_);
    StopProcess(xvfb_);
}

bool VirtualDisplay::Start(const QString& runtimeDirectory, bool withWindowManager) {
    // -displayfd picks a free display and tells which on the descriptor given.
    xvfb_.setProgram(QStringLiteral("Xvfb"));
    xvfb_.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                        QStringLiteral("-screen"), QStringLiteral("0"),
                        QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                        QStringLiteral("tcp")});
    // What the server says on its error stream (keymap warnings at every client)
    // would fill an unread pipe and stall the server.
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    xvfb_.start();
    if (!xvfb_.waitForStarted(5000)) {
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    QByteArray line;
    while (!line.contains('\n') && clock.elapsed() < 10000) {
        if (!xvfb_.waitForReadyRead(500) && xvfb_.state() == QProcess::NotRunning) {
            return false;
        }
        line += xvfb_.readAllStandardOutput();
    }
    if (!line.contains('\n')) {
        return false;
    }
    name_ = QLatin1Char(':') + QString::fromLatin1(line.trimmed());

    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("DISPLAY"), name_);
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDirectory);
    if (!withWindowManager) {
        return true;
    }
    windowManager_.setProcessEnvironment(environment_);
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.setStandardErrorFile(QProcess::nullDevice());
    windowManager_.start(QStringLiteral("openbox"), {});
    // The desktop works without a window manager too, only less like a real one.
    windowManager_.waitForStarted(5000);
    QThread::msleep(500);
    return true;
}

bool VirtualDisplay::StartTray() {
    if (tray_.state() == QProcess::Running) {
        return true;
    }
    tray_.setProcessEnvironment(environment_);
    tray_.setStandardOutputFile(QProcess::nullDevice());
    tray_.setStandardErrorFile(QProcess::nullDevice());
    tray_.start(QStringLiteral("trayer"),
                {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                 QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                 QStringLiteral("--width"), QStringLiteral("60"), QStringLiteral("--height"),
                 QStringLiteral("24"), QStringLiteral("--SetDockType"), QStringLiteral("true")});
    if (!tray_.waitForStarted(5000)) {
        return false;
    }
    QThread::msleep(500);
    return tray_.state() == QProcess::Running;
}

QString MakeRuntimeDirectory(const QString& parent, const QString& name) {
    const QString path = QDir(parent).filePath(name);
    QDir().mkpath(path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QProcessEnvironment ClientEnvironment(const VirtualDisplay& display, const SoundServer& sound) {
    QProcessEnvironment environment = display.Environment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("SDL_AUDIODRIVER"));
    sound.AddTo(environment);
    return environment;
}

SoundServer::~SoundServer() {
    Stop();
}

bool SoundServer::Start(const QString& directory) {
    directory_ = directory;
    const auto output =
        Run(QStringLiteral("bash"), {SoundServerScript(), QStringLiteral("start"), directory},
            QProcessEnvironment::systemEnvironment(), 30000);
    started_ = output.has_value();
    return started_;
}

void SoundServer::Stop() {
    if (!started_) {
        return;
    }
    Run(QStringLiteral("bash"), {SoundServerScript(), QStringLiteral("stop"), directory_},
        QProcessEnvironment::systemEnvironment());
    started_ = false;
}

void SoundServer::AddTo(QProcessEnvironment& environment) const {
    environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"),
                       directory_ + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("PULSE_STATE_PATH"), directory_ + QStringLiteral("/state"));
    environment.insert(QStringLiteral("PULSE_SERVER"),
                       QStringLiteral("unix:") + directory_ + QStringLiteral("/runtime/native"));
}

Recorder::~Recorder() {
    StopProcess(parec_);
}

bool Recorder::Start(const QProcessEnvironment& environment, const QString& file) {
    file_ = file;
    parec_.setProcessEnvironment(environment);
    parec_.setStandardOutputFile(file);
    parec_.start(QStringLiteral("parec"),
                 {QStringLiteral("-d"), QStringLiteral("nullsink.monitor"), QStringLiteral("--raw"),
                  QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                  QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=20")});
    return parec_.waitForStarted(5000);
}

std::vector<float> Recorder::Stop() {
    StopProcess(parec_);
    QFile file(file_);
    std::vector<float> left;
    if (!file.open(QIODevice::ReadOnly)) {
        return left;
    }
    const QByteArray bytes = file.readAll();
    const auto* frames = reinterpret_cast<const std::int16_t*>(bytes.constData());
    const qsizetype frameCount = bytes.size() / 4;
    left.reserve(static_cast<std::size_t>(frameCount));
    for (qsizetype i = 0; i < frameCount; ++i) {
        left.push_back(static_cast<float>(frames[2 * i]) / 32768.0f);
    }
    return left;
}

double DominantTone(const std::vector<float>& samples, double from, double to,
                    const std::vector<double>& candidates) {
    const auto begin = static_cast<std::size_t>(std::max(0.0, from) * SAMPLE_RATE);
    const auto end = std::min(samples.size(), static_cast<std::size_t>(to * SAMPLE_RATE));
    if (end <= begin + 64) {
        return 0;
    }
    const auto count = static_cast<double>(end - begin);
    double energy = 0;
    for (std::size_t i = begin; i < end; ++i) {
        energy += static_cast<double>(samples[i]) * samples[i];
    }
    const double rms = std::sqrt(energy / count);
    if (rms < 0.01) {
        return 0;
    }
    // Goertzel's power of each candidate, as a share of a pure tone's.
    double best = 0;
    double bestShare = 0;
    for (const double frequency : candidates) {
        const double coefficient = 2 * std::cos(2 * M_PI * frequency / SAMPLE_RATE);
        double previous = 0;
        double beforePrevious = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const double current = samples[i] + coefficient * previous - beforePrevious;
            beforePrevious = previous;
            previous = current;
        }
        const double power = previous * previous + beforePrevious * beforePrevious -
                             coefficient * previous * beforePrevious;
        const double amplitude = 2 * std::sqrt(std::max(0.0, power)) / count;
        const double share = amplitude / (rms * std::sqrt(2.0));
        if (share > bestShare) {
            bestShare = share;
            best = frequency;
        }
    }
    return bestShare > 0.5 ? best : 0;
}

std::vector<double> ToneTimeline(const std::vector<float>& samples,
                                 const std::vector<double>& candidates) {
    std::vector<double> timeline;
    const double seconds = static_cast<double>(samples.size()) / SAMPLE_RATE;
    for (double from = 0; from + 0.25 <= seconds; from += 0.25) {
        timeline.push_back(DominantTone(samples, from, from + 0.25, candidates));
    }
    return timeline;
}

std::optional<QString> Desktop::WaitForWindow(const QString& name, int timeoutMs) const {
    QElapsedTimer clock;
    clock.start();
    do {
        const auto found = Run(
            QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$')},
            environment_);
        if (found && !found->trimmed().isEmpty()) {
            return found->trimmed().split(QLatin1Char('\n')).constFirst();
        }
        QThread::msleep(200);
    } while (clock.elapsed() < timeoutMs);
    return std::nullopt;
}

bool Desktop::WindowExists(const QString& name) const {
    return WaitForWindow(name, 0).has_value();
}

std::optional<QRect> Desktop::Geometry(const QString& window) const {
    const auto output =
        Run(QStringLiteral("xdotool"),
            {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window}, environment_);
    if (!output) {
        return std::nullopt;
    }
    QRect rect;
    for (const QString& line : output->split(QLatin1Char('\n'))) {
        const QString value = line.section(QLatin1Char('='), 1);
        if (line.startsWith(QLatin1String("X=")))
            rect.moveLeft(value.toInt());
        if (line.startsWith(QLatin1String("Y=")))
            rect.moveTop(value.toInt());
        if (line.startsWith(QLatin1String("WIDTH=")))
            rect.setWidth(value.toInt());
        if (line.startsWith(QLatin1String("HEIGHT=")))
            rect.setHeight(value.toInt());
    }
    return rect;
}

bool Desktop::Click(const QString& window, int x, int y) const {
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
                window, QString::number(x), QString::number(y), QStringLiteral("click"),
                QStringLiteral("1")},
               environment_)
        .has_value();
}

bool Desktop::DoubleClick(const QString& window, int x, int y) const {
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"),
                window, QString::number(x), QString::number(y), QStringLiteral("click"),
                QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                QStringLiteral("80"), QStringLiteral("1")},
               environment_)
        .has_value();
}

bool Desktop::ClickScreen(QPoint point, int button) const {
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(point.x()),
                QString::number(point.y()), QStringLiteral("click"), QString::number(button)},
               environment_)
        .has_value();
}

std::optional<QPoint> Desktop::TrayIcon(const QString& program, int timeoutMs) const {
    // The icon is a small window of the program's class embedded in the tray
    // host's panel; xwininfo gives its place on the screen.
    const QRegularExpression line(
        QStringLiteral(R"(\("%1" "%1"\)\s+(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))")
            .arg(QRegularExpression::escape(program)));
    QElapsedTimer clock;
    clock.start();
    do {
        const auto tree = Run(QStringLiteral("xwininfo"),
                              {QStringLiteral("-root"), QStringLiteral("-tree")}, environment_);
        if (tree) {
            auto matches = line.globalMatch(*tree);
            while (matches.hasNext()) {
                const auto match = matches.next();
                const int width = match.captured(1).toInt();
                const int height = match.captured(2).toInt();
                if (width >= 8 && width <= 64 && height >= 8 && height <= 64) {
                    return QPoint(match.captured(3).toInt() + width / 2,
                                  match.captured(4).toInt() + height / 2);
                }
            }
        }
        QThread::msleep(200);
    } while (clock.elapsed() < timeoutMs);
    return std::nullopt;
}

bool Desktop::Minimise(const QString& window) const {
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("windowminimize"), QStringLiteral("--sync"), window}, environment_,
               5000)
        .has_value();
}

QImage Desktop::Picture(const QString& window, const QRect& rect) const {
    QTemporaryDir scratch;
    const QString file = scratch.filePath(QStringLiteral("picture.png"));
    const QString crop = QStringLiteral("%1x%2+%3+%4")
                             .arg(rect.width())
                             .arg(rect.height())
                             .arg(rect.x())
                             .arg(rect.y());
    if (!Run(QStringLiteral("import"),
             {QStringLiteral("-window"), window, QStringLiteral("-crop"), crop,
              QStringLiteral("+repage"), file},
             environment_)) {
        return {};
    }
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

bool Desktop::KeyToFocus(const QString& keys) const {
    return Run(QStringLiteral("xdotool"), {QStringLiteral("key"), keys}, environment_).has_value();
}

bool Desktop::Key(const QString& window, const QString& keys) const {
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}, environment_, 3000);
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys}, environment_)
        .has_value();
}

bool Desktop::Type(const QString& window, const QString& text) const {
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window}, environment_, 3000);
    return Run(QStringLiteral("xdotool"),
               {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text},
               environment_)
        .has_value();
}

}  // namespace tunvell::e2e
