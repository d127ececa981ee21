// Scans a tree of 100,000 files in 5,000 folders into the scan window's list
// and imports it, beside `find DIR -type f | wc -l` on the same tree.
// Usage: bench_scan [runs]  (run with QT_QPA_PLATFORM=offscreen without a display)

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>

#include "library/song_database.h"
#include "scan/event_waits.h"
#include "scan/scan_window.h"
#include "scan/scan_window_controls.h"
#include "tests/fakes/main_window_fixture.h"

namespace {

constexpr int GROUPS = 50;
constexpr int FOLDERS_PER_GROUP = 100;
constexpr int FILES_PER_FOLDER = 20;
constexpr int FILE_COUNT = GROUPS * FOLDERS_PER_GROUP * FILES_PER_FOLDER;

// The countdown after an import is not part of its cost.
class NoWaits final : public tunvell::EventWaits {
public:
    void Wait(int, QDialog&) override {}
    qint64 Elapsed() const override { return 0; }
};

bool MakeTree(const QString& root) {
    for (int group = 0; group < GROUPS; ++group) {
        for (int folder = 0; folder < FOLDERS_PER_GROUP; ++folder) {
            const QString dir =
                QStringLiteral("%1/artist%2/album%3").arg(root).arg(group).arg(folder);
            if (!QDir().mkpath(dir)) {
                return false;
            }
            for (int file = 0; file < FILES_PER_FOLDER; ++file) {
                QFile track(
                    QStringLiteral("%1/%2 track.mp3").arg(dir).arg(file, 2, 10, QLatin1Char('0')));
                if (!track.open(QIODevice::WriteOnly)) {
                    return false;
                }
            }
        }
    }
    return true;
}

double Best(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

double TimeFind(const QString& root, QString& output) {
    QElapsedTimer timer;
    timer.start();
    QProcess find;
    find.start(QStringLiteral("sh"),
               {QStringLiteral("-c"), QStringLiteral("find \"$1\" -type f | wc -l"),
                QStringLiteral("sh"), root});
    find.waitForFinished(-1);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    output = QString::fromLocal8Bit(find.readAllStandardOutput()).trimmed();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir treeDir;
    const QString root = treeDir.path() + QStringLiteral("/music");
    QElapsedTimer making;
    making.start();
    if (!MakeTree(root)) {
        std::fprintf(stderr, "cannot build the tree under %s\n", qPrintable(root));
        return 1;
    }
    std::printf("tree: %d files in %d folders (+%d parents), made in %.0f ms\n", FILE_COUNT,
                GROUPS * FOLDERS_PER_GROUP, GROUPS + 1, static_cast<double>(making.elapsed()));

    tunvell::testing::MainWindowFixture main;
    NoWaits waits;
    QString findOutput;
    TimeFind(root, findOutput);  // warm the cache for both
    std::vector<double> findTimes;
    std::vector<double> scanTimes;
    std::vector<double> importTimes;
    int listed = 0;
    for (int run = 0; run < runs; ++run) {
        findTimes.push_back(TimeFind(root, findOutput));

        QFile::remove(main.dir.FilePath(tunvell::SONG_DATABASE_NAME));
        tunvell::ScanWindow window(main.Player(), *main.Controls().列表框歌曲, main.prompts,
                                   main.clock, nullptr, &waits);
        window.show();
        window.Controls().编辑框1->setText(root);
        QElapsedTimer timer;
        timer.start();
        window.ScanFolder();
        QCoreApplication::processEvents();  // the last paint of list and status bar
        scanTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        listed = window.Controls().列表框1->count();

        timer.restart();
        window.ImportScanList();
        importTimes.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        if (!window.IsClosed()) {
            std::fprintf(stderr, "import did not finish: %s\n",
                         qPrintable(window.Controls().状态条1->PartText(1)));
            return 1;
        }
    }
    tunvell::SongDatabase store;
    store.Open(main.dir.FilePath(tunvell::SONG_DATABASE_NAME));
    const int stored = store.RecordCount();
    store.Close();

    const double find = Best(findTimes);
    const double scan = Best(scanTimes);
    std::printf("find DIR -type f | wc -l   %8.1f ms  (counted %s)\n", find,
                qPrintable(findOutput));
    std::printf("ScanDirectory into list    %8.1f ms  (listed %d)   %.2f x find   goal <= 3 x\n",
                scan, listed, scan / find);
    std::printf("ImportScanList             %8.1f ms  (stored %d)   goal < 2000 ms\n",
                Best(importTimes), stored);
    std::printf("best of %d runs\n", runs);
    return listed == FILE_COUNT && stored == FILE_COUNT ? 0 : 1;
}
