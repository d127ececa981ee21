#include "playback/song_list_selection.h"

#include <memory>

#include <QItemSelectionModel>
#include <QListWidget>

namespace tunvell {

int SelectedIndex(const QListWidget& songList) {
    // The current item may merely carry the keyboard focus; only a selected
    // one counts.
    const QListWidgetItem* current = songList.currentItem();
    if (current != nullptr && current->isSelected()) {
        return songList.row(current);
    }
    const QList<QListWidgetItem*> selected = songList.selectedItems();
    return selected.isEmpty() ? -1 : songList.row(selected.first());
}

QString SelectedText(const QListWidget& songList) {
    return ItemText(songList, SelectedIndex(songList));
}

QString ItemText(const QListWidget& songList, int index) {
    const QListWidgetItem* item = songList.item(index);
    return item == nullptr ? QString() : item->text();
}

void SelectIndex(QListWidget& songList, int index) {
    if (index < 0 || index >= songList.count()) {
        SelectNothing(songList);
        return;
    }
    songList.setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

void SelectNothing(QListWidget& songList) {
    songList.setCurrentRow(-1, QItemSelectionModel::Clear);
    songList.clearSelection();
}

void DeleteItem(QListWidget& songList, int index) {
    if (index < 0 || index >= songList.count()) {
        return;
    }
    const bool wasSelected = SelectedIndex(songList) == index;
    std::unique_ptr<QListWidgetItem> taken(songList.takeItem(index));
    if (wasSelected) {
        SelectNothing(songList);
    }
}

}  // namespace tunvell
