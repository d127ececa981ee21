#pragma once

#include <QString>
#include <QStringList>

namespace tunvell {

// The items of a scan list that are songs: names ending exactly in ".mp3"
// (case counts), in list order, duplicates kept.
QStringList SongFilesOf(const QStringList& items);

enum class ImportFailure {
    None,
    CannotCreate,  // no store was there and none could be made
    CannotOpen,    // the file is not a store, is read-only or cannot be opened
    CannotWrite,   // the store refused the records; none was kept
};

struct ImportOutcome {
    ImportFailure failure = ImportFailure::None;
    int stored = 0;  // records actually added
};

// Appends `songs` to the store in `storeFile` in one transaction, making an
// empty store first when the file is missing. Either all are stored or none.
ImportOutcome ImportIntoSongStore(const QStringList& songs, const QString& storeFile);

}  // namespace tunvell
