#pragma once

#include <QString>

class QListWidget;

namespace tunvell {

// The song list as the transport sees it: one selected index or none (-1),
// item texts by index, selecting and deleting. Indexes outside the list are
// answered quietly (no item, empty text) so that a list changed under a
// handler never takes the player down.

int SelectedIndex(const QListWidget& songList);
// The selected item's text; "" when nothing is selected.
QString SelectedText(const QListWidget& songList);
// The text of item `index`; "" when there is no such item.
QString ItemText(const QListWidget& songList, int index);

// Selects item `index` alone; an index outside the list selects nothing.
void SelectIndex(QListWidget& songList, int index);
void SelectNothing(QListWidget& songList);

// Deletes item `index`. When it was the selected item, nothing is selected
// afterwards rather than whatever neighbour the list would pick, so that the
// next start does not play a song the user never chose.
void DeleteItem(QListWidget& songList, int index);

}  // namespace tunvell
