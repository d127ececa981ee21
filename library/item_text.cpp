#include "library/item_text.h"

namespace tunvell {

// Filled by the song-library work.
bool IsTemporaryItem(const QString& itemText) { return itemText.startsWith(TEMPORARY_PREFIX); }
QString TemporaryItemPath(const QString& itemText) { return itemText.mid(TEMPORARY_PREFIX.size()); }
QString SongTitle(const QString& itemText) { return itemText; }
QString FileNameOfPath(const QString& path) { return path; }

}  // namespace tunvell
