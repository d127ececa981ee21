#include "library/playlist.h"

#include <QListWidget>

#include "app/core/part_status_bar.h"
#include "app/core/prompts.h"

namespace tunvell {

// Filled by the song-library work.
void RefreshPlaylist(QListWidget& songList, PartStatusBar& /*statusBar*/) { songList.clear(); }
QString LookupSongPath(const QString&, const QString&) { return {}; }
int FindListItem(const QListWidget& songList, const QString& text) {
    for (int i = 0; i < songList.count(); ++i) {
        if (songList.item(i)->text() == text) {
            return i;
        }
    }
    return -1;
}
void AddTemporarySong(QListWidget&, Prompts&) {}

}  // namespace tunvell
