#include "library/item_text.h"

namespace tunvell {

bool IsTemporaryItem(const QString& itemText) {
    return itemText.startsWith(TEMPORARY_PREFIX);
}

QString TemporaryItemPath(const QString& itemText) {
    return itemText.mid(TEMPORARY_PREFIX.size());
}

QString SongTitle(const QString& itemText) {
    if (IsTemporaryItem(itemText)) {
        return TemporaryItemPath(itemText);
    }
    // A database item is a file name; its title drops the extension, whatever it is.
    if (itemText.size() <= MP3_EXTENSION.size()) {
        return {};
    }
    return itemText.chopped(MP3_EXTENSION.size());
}

QString FileNameOfPath(const QString& path) {
    // One separator at the very end names a folder: its own name is the answer.
    QStringView rest(path);
    if (rest.endsWith(PATH_SEPARATOR)) {
        rest.chop(1);
    }
    return rest.mid(rest.lastIndexOf(PATH_SEPARATOR) + 1).toString();
}

}  // namespace tunvell
