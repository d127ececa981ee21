// Times the song list over a store of 100,000 records: the import in one
// batch, RefreshPlaylist (store read plus list fill) and a LookupSongPath that
// only the last record satisfies. Each figure is printed beside a reference
// measured in the same run on the same data.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/core/part_status_bar.h"
#include "library/item_text.h"
#include "library/playlist.h"
#include "library/song_database.h"

using namespace tunvell;

namespace {

constexpr int RECORDS = 100000;
constexpr int ROUNDS = 5;

// Wall-clock and processor time of one piece of work, in milliseconds. On a
// machine shared with other work the wall clock includes waiting for a core;
// the processor time does not.
struct Time {
    double wallMs = 0;
    double cpuMs = 0;
};

double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

Time Once(const std::function<void()>& work) {
    QElapsedTimer timer;
    const double cpuStart = CpuMs();
    timer.start();
    work();
    return {static_cast<double>(timer.nsecsElapsed()) / 1e6, CpuMs() - cpuStart};
}

// The medians of several rounds.
Time Measure(const std::function<void()>& work) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < ROUNDS; ++i) {
        const Time time = Once(work);
        wall.push_back(time.wallMs);
        cpu.push_back(time.cpuMs);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void Report(const char* what, Time time, const char* reference, Time referenceTime,
            const char* goal) {
    std::printf("%-38s %8.1f %8.1f  | %-38s %8.1f %8.1f  %s\n", what, time.wallMs, time.cpuMs,
                reference, referenceTime.wallMs, referenceTime.cpuMs, goal);
}

QStringList MakePaths() {
    QStringList paths;
    paths.reserve(RECORDS);
    for (int i = 0; i < RECORDS; ++i) {
        paths.append(QStringLiteral("/home/user/Music/Artist %1/Album %2/%3 歌曲 track.mp3")
                         .arg(i % 997)
                         .arg(i % 13)
                         .arg(i, 6, 10, QLatin1Char('0')));
    }
    // The last file name occurs nowhere else, so a lookup of it reads every record.
    paths.last() = QStringLiteral("/home/user/Music/last/the only one.mp3");
    return paths;
}

// The floor for reading the store: SQLite alone, no text conversion.
void RawRead(const QString& file) {
    sqlite3* db = nullptr;
    sqlite3_stmt* select = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_prepare_v2(db, "SELECT path FROM songs ORDER BY rowid", -1, &select, nullptr);
    qint64 bytes = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        bytes += sqlite3_column_bytes(select, 0);
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    if (bytes == 0) {
        std::printf("raw read found nothing\n");
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QStringList paths = MakePaths();

    // Import: one transaction for all, against the same rows one commit each
    // (a thousandth of them, scaled up, so the run stays short).
    const QString file = dir.filePath(SONG_DATABASE_NAME);
    Time import;
    {
        SongDatabase::CreateEmpty(file);
        SongDatabase store;
        store.Open(file);
        int stored = 0;
        import = Once([&] { stored = store.AddRecords(paths);
    });
    if (stored != RECORDS) {
        std::printf("import stored %d of %d\n", stored, RECORDS);
        return 1;
    }
}
Time oneByOne;
{
    const QString scratch = dir.filePath(QStringLiteral("scratch.edb"));
    SongDatabase::CreateEmpty(scratch);
    SongDatabase store;
    store.Open(scratch);
    oneByOne = Once([&] {
        for (int i = 0; i < RECORDS / 1000; ++i) {
            store.AddRecord(paths[i]);
        }
    });
    oneByOne.wallMs *= 1000;
    oneByOne.cpuMs *= 1000;
}

QListWidget list;
list.setUniformItemSizes(true);
PartStatusBar statusBar;
statusBar.SetPartWidths({118, 80, 320});

const Time rawRead = Measure([&] { RawRead(file); });
const Time refresh = Measure([&] { RefreshPlaylist(list, statusBar); });
if (list.count() != RECORDS) {
    std::printf("the list holds %d items\n", list.count());
    return 1;
}
const Time itemByItem = Measure([&] {
    list.clear();
    SongDatabase store;
    store.Open(SONG_DATABASE_NAME);
    const int n = store.RecordCount();
    for (int i = 0; i < n; ++i) {
        list.addItem(FileNameOfPath(store.ReadPath()));
        store.Skip();
    }
});
list.clear();
const Time refreshEmpty = Measure([&] {
    list.clear();
    RefreshPlaylist(list, statusBar);
});

const QString lastName = FileNameOfPath(paths.last());
QString found;
const Time lookup = Measure([&] { found = LookupSongPath(SONG_DATABASE_NAME, lastName); });
if (found != paths.last()) {
    std::printf("lookup found \"%s\"\n", qPrintable(found));
    return 1;
}
const Time lookupMiss =
    Measure([&] { found = LookupSongPath(SONG_DATABASE_NAME, QStringLiteral("nowhere.mp3")); });

QDir::setCurrent(previous);
std::printf("%d records, medians of %d rounds, milliseconds (wall clock, processor)\n", RECORDS,
            ROUNDS);
Report("import, one transaction", import, "import, one commit per record (scaled)", oneByOne,
       "goal < 2000 ms");
Report("RefreshPlaylist over a full list", refresh, "store read alone, raw SQLite", rawRead,
       "goal < 300 ms");
Report("RefreshPlaylist into an empty list", refreshEmpty, "cursor read, items added one by one",
       itemByItem, "goal < 300 ms");
Report("LookupSongPath, last record matches", lookup, "store read alone, raw SQLite", rawRead,
       "goal < 50 ms");
Report("LookupSongPath, no record matches", lookupMiss, "store read alone, raw SQLite", rawRead,
       "goal < 50 ms");
return 0;
}
