#include "library/playlist.h"

#include <QListWidget>

#include "app/core/part_status_bar.h"
#include "app/core/prompts.h"
#include "library/item_text.h"
#include "library/song_database.h"

namespace tunvell {

namespace {

constexpr int STATUS_PART_COUNT = 1;
constexpr int STATUS_PART_NOTICE = 2;

const QString ONLY_MP3_TEXT = QStringLiteral("只能添加Mp3格式的音乐文件。");
const QString ALREADY_LISTED_TEXT = QStringLiteral("该歌曲已经存在，无须重复添加。");
const QString NOTICE_TITLE = QStringLiteral("提示");

}  // namespace

void RefreshPlaylist(QListWidget& songList, PartStatusBar& statusBar) {
    songList.clear();
    QStringList names;
    {
        SongDatabase store;
        if (store.Open(SONG_DATABASE_NAME)) {
            const QStringList paths = store.ReadAllPaths();
            names.reserve(paths.size());
            for (const QString& path : paths) {
                names.append(FileNameOfPath(path));
            }
        }
    }
    // One batch: item by item, a whole disk's worth of songs takes seconds.
    songList.addItems(names);
    statusBar.SetPartText(STATUS_PART_COUNT, QStringLiteral("歌曲：%1 首").arg(songList.count()));
    statusBar.SetPartText(STATUS_PART_NOTICE, QStringLiteral("已经更新播放列表"));
}

QString LookupSongPath(const QString& databaseName, const QString& itemText) {
    // No file name is empty, and an empty item must not pick up a stray record.
    if (itemText.isEmpty()) {
        return {};
    }
    SongDatabase store;
    if (!store.Open(databaseName)) {
        return {};
    }
    // A path whose file name is the text contains the text, so the store may
    // pass over every record without it.
    return store.FindPath(
        itemText, [&itemText](const QString& path) { return FileNameOfPath(path) == itemText; });
}

int FindListItem(const QListWidget& songList, const QString& text) {
    const int count = songList.count();
    for (int i = 0; i < count; ++i) {
        if (songList.item(i)->text() == text) {
            return i;
        }
    }
    return -1;
}

void AddTemporarySong(QListWidget& songList, Prompts& prompts) {
    const std::optional<QString> chosen = prompts.ChooseFileToOpen();
    if (!chosen) {
        return;
    }
    const QString& path = *chosen;
    if (!path.endsWith(MP3_EXTENSION)) {
        prompts.ShowMessage(ONLY_MP3_TEXT, NOTICE_TITLE, BoxIcon::None, BoxButtons::Ok);
        return;
    }
    // Compared with whole item texts, so only a database song of that file name
    // counts; the same file may be added as a temporary song more than once.
    if (FindListItem(songList, FileNameOfPath(path)) != -1) {
        prompts.ShowMessage(ALREADY_LISTED_TEXT, NOTICE_TITLE, BoxIcon::None, BoxButtons::Ok);
        return;
    }
    songList.addItem(TEMPORARY_PREFIX + path);
}

}  // namespace tunvell
