#include "scan/song_import.h"

#include <QFileInfo>

#include "library/item_text.h"
#include "library/song_database.h"

namespace tunvell {

QStringList SongFilesOf(const QStringList& items) {
    QStringList songs;
    for (const QString& item : items) {
        if (item.endsWith(MP3_EXTENSION, Qt::CaseSensitive)) {
            songs.append(item);
        }
    }
    return songs;
}

ImportOutcome ImportIntoSongStore(const QStringList& songs, const QString& storeFile) {
    // A dangling link counts as present: creating through it would put a store
    // somewhere the user did not look.
    const QFileInfo info(storeFile);
    if (!info.exists() && !info.isSymLink() && !SongDatabase::CreateEmpty(storeFile)) {
        return {ImportFailure::CannotCreate, 0};
    }
    SongDatabase store;
    if (!store.Open(storeFile)) {
        return {ImportFailure::CannotOpen, 0};
    }
    const int stored = songs.isEmpty() ? 0 : store.AddRecords(songs);
    store.Close();
    if (stored != songs.size()) {
        return {ImportFailure::CannotWrite, 0};
    }
    return {ImportFailure::None, stored};
}

}  // namespace tunvell
