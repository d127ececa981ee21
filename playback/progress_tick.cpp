// The progress tick and the automatic advance to the next song.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/core/part_status_bar.h"
#include "app/core/player_state.h"
#include "app/core/random_source.h"
#include "library/item_text.h"
#include "library/playlist.h"
#include "library/song_database.h"
#include "playback/audio_output.h"
#include "playback/song_list_selection.h"
#include "playback/transport.h"
#include "playback/transport_texts.h"

namespace tunvell {

void Transport::ProgressTick() {
    if (openBoxes_ > 0) {
        return;
    }
    // Before any new start, so a new song's position shows from the next tick.
    SetProgressPosition(BytesToSliderSteps(audio_.ChannelGetPosition(state_.currentStream)));

    if (c_.songList.count() == 0) {
        // A song that still plays goes on; there is just nothing to follow it.
        c_.playPause.setText(PLAY_CAPTION);
        c_.spectrumCanvas.hide();
        return;
    }
    SetPlayingLook();

    if (state_.playMode == RANDOM_MODE) {
        AdvanceAtRandom();
    } else if (state_.playMode == LOOP_MODE) {
        AdvanceInLoop();
    }
}

void Transport::AdvanceAtRandom() {
    if (audio_.ChannelIsActive(state_.currentStream) == ACTIVE_PLAYING) {
        return;
    }
    const int drawn = random_.Draw(0, c_.songList.count() - 1);
    const QString itemText = ItemText(c_.songList, drawn);
    audio_.StreamFree(state_.currentStream);

    if (IsTemporaryItem(itemText)) {
        StartStream(TemporaryItemPath(itemText), false);
        SelectIndex(c_.songList, drawn);
        ShowPlayingTitle(SongTitle(itemText), STARTED_BY_TICK_PREFIX);
        return;
    }
    const QString path = LookupSongPath(SONG_DATABASE_NAME, itemText);
    if (path.isEmpty()) {
        state_.pathFound = false;
        RemoveMissingSong(itemText);
        return;
    }
    StartStream(path, false);
    SelectIndex(c_.songList, drawn);
    ShowPlayingTitle(SongTitle(itemText), STARTED_BY_TICK_PREFIX);
    state_.pathFound = true;
}

void Transport::AdvanceInLoop() {
    if (audio_.ChannelIsActive(state_.currentStream) == ACTIVE_PLAYING) {
        return;
    }
    // Only whether something is selected matters: with a selection the loop
    // goes on after the song it started last, wherever the user has clicked.
    const bool nothingSelected = SelectedIndex(c_.songList) < 0;
    int next = 0;
    if (!nothingSelected) {
        const int last = FindListItem(c_.songList, state_.nowPlayingText);
        next = last == c_.songList.count() - 1 ? 0 : last + 1;
        SelectIndex(c_.songList, next);
    }
    const QString itemText = ItemText(c_.songList, next);

    if (IsTemporaryItem(itemText)) {
        audio_.StreamFree(state_.currentStream);
        StartStream(TemporaryItemPath(itemText), false);
    } else {
        const QString path = LookupSongPath(SONG_DATABASE_NAME, itemText);
        if (path.isEmpty()) {
            // The old stream is left alone here; it has ended or was never opened.
            state_.pathFound = false;
            RemoveMissingSong(itemText);
            return;
        }
        audio_.StreamFree(state_.currentStream);
        StartStream(path, false);
        state_.pathFound = true;
    }
    ShowPlayingTitle(SongTitle(itemText), STARTED_BY_TICK_PREFIX);
    state_.nowPlayingText = itemText;
    if (nothingSelected) {
        SelectIndex(c_.songList, 0);
    }
}

void Transport::RemoveMissingSong(const QString& itemText) {
    c_.statusBar.SetPartText(NOW_PLAYING_STATUS_PART, QStringLiteral(" 未找到歌曲 ") + itemText +
                                                          QStringLiteral(" 请重新添加"));
    // Searched afresh after every box, so the list is taken as it stands then.
    for (int index = FindListItem(c_.songList, itemText); index >= 0;
         index = FindListItem(c_.songList, itemText)) {
        DeleteItem(c_.songList, index);
        c_.statusBar.SetPartText(NOW_PLAYING_STATUS_PART, QStringLiteral(" 从列表中清除无效歌曲 ") +
                                                              itemText + QStringLiteral(" 成功"));
        ShowBox(QStringLiteral("歌曲数据库中存在无效记录，请手动清空数据库，重新扫描歌曲文件夹。"),
                QStringLiteral("提醒"), BoxIcon::None);
    }
}

}  // namespace tunvell
