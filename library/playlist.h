#pragma once

#include <QString>

class QListWidget;

namespace tunvell {

class PartStatusBar;
class Prompts;

// Rebuilds the song list from the store and writes the count and a notice into
// parts 1 and 2 of the main status bar.
void RefreshPlaylist(QListWidget& songList, PartStatusBar& statusBar);

// The path of the first record, in stored order, whose file name equals
// `itemText` exactly; "" for none, for the empty text, and without a store. The
// store is opened afresh on every call.
QString LookupSongPath(const QString& databaseName, const QString& itemText);

// Index of the first item whose text equals `text`, or -1.
int FindListItem(const QListWidget& songList, const QString& text);

// Lets the user pick one MP3 file and appends it as a temporary item.
void AddTemporarySong(QListWidget& songList, Prompts& prompts);

}  // namespace tunvell
