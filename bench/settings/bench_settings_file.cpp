// Times what start-up and "应用设置" do with "config.ini": LoadSettings (five
// whole-file reads) and the five writes of an apply, on a usual file and on one
// with a 1 MB value. Each figure is printed beside a reference measured in the
// same run on the same file: reading the file's bytes, and one plain
// write-and-rename of them.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/core/player_state.h"
#include "settings/load_settings.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "spectrum/spectrum_canvas.h"

using namespace tunvell;

namespace {

constexpr int ROUNDS = 9;

// The median of several rounds, in milliseconds.
double Measure(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < ROUNDS; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

void Report(const char* what, double ms, const char* reference, double referenceMs) {
    std::printf("%-34s %9.3f ms   (%s: %.3f ms, x%.1f)\n", what, ms, reference, referenceMs,
                referenceMs > 0 ? ms / referenceMs : 0.0);
}

void Run(const char* name, const QByteArray& content) {
    QTemporaryDir dir;
    SettingsFile file(SettingsPathIn(dir.path()));
    Put(file.Path(), content);
    PlayerState state;
    SpectrumCanvas canvas;

    const double readBytes = Measure([&] {
        for (int i = 0; i < 5; ++i) {
            QFile raw(file.Path());
            raw.open(QIODevice::ReadOnly);
            (void)raw.readAll();
        }
    });
    const double load = Measure([&] { LoadSettings(file, state, canvas); });

    const double rawWrites = Measure([&] {
        for (int i = 0; i < 5; ++i) {
            QSaveFile raw(file.Path());
            raw.open(QIODevice::WriteOnly);
            raw.write(content);
            raw.commit();
        }
    });
    const double apply = Measure([&] {
        file.Write(SECTION_MODE, KEY_PLAY_MODE, QStringLiteral("0"));
        file.Write(SECTION_AUTORUN, KEY_AUTO_PLAY, QStringLiteral("1"));
        file.Write(SECTION_POSITION, KEY_BAR_WIDTH, QStringLiteral("5"));
        file.Write(SECTION_COLOR, KEY_PEN_COLOR, QStringLiteral("16777215"));
        file.Write(SECTION_COLOR, KEY_BACKGROUND_COLOR, QStringLiteral("12295509"));
    });

    std::printf("%s (%lld bytes)\n", name, static_cast<long long>(content.size()));
    Report("  LoadSettings (5 reads)", load, "5 raw reads", readBytes);
    Report("  apply (5 writes)", apply, "5 raw atomic writes", rawWrites);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QByteArray usual(
        "; Tunvell\n[mode]\npmd=1\n[autorun]\npar=0\n[position]\npos=5\n"
        "[color]\ncl1=16777215\ncl2=12295509\n");
    Run("usual file", usual);
    Run("file with a 1 MB value", usual + "[big]\nvalue=" + QByteArray(1 << 20, 'x') + "\n");
    return 0;
}
