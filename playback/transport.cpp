#include "playback/transport.h"

#include <algorithm>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "app/core/part_status_bar.h"
#include "app/core/period_timer.h"
#include "app/core/player_state.h"
#include "library/item_text.h"
#include "library/playlist.h"
#include "library/song_database.h"
#include "playback/audio_output.h"
#include "playback/song_list_selection.h"
#include "playback/transport_texts.h"

namespace tunvell {

namespace {

// The progress slider holds at most this many steps (about nine hours of CD audio).
constexpr int PROGRESS_STEP_LIMIT = 32767;

}  // namespace

Transport::Transport(TransportControls controls, PlayerState& state, AudioOutput& audio,
                     Prompts& prompts, RandomSource& random)
    : c_(controls), state_(state), audio_(audio), prompts_(prompts), random_(random) {}

void Transport::StartStream(const QString& path, bool reportFailure) {
    state_.currentStream = audio_.StreamCreateFile(path);
    if (reportFailure && state_.currentStream == 0) {
        // The song still counts as started: the tick finds nothing playing and
        // moves on, so the user is told once and the list keeps going.
        ShowBox(QStringLiteral("打开文件失败！"), DEFAULT_BOX_TITLE, BoxIcon::Information);
    }
    if (c_.spectrumTimer.Period() != SPECTRUM_PERIOD_MS) {
        c_.spectrumTimer.SetPeriod(SPECTRUM_PERIOD_MS);
    }
    audio_.ChannelPlay(state_.currentStream, false);
    SetProgressMaximum(BytesToSliderSteps(audio_.ChannelGetLength(state_.currentStream)));
}

void Transport::PlaySelectedSong() {
    SetPlayingLook();
    audio_.StreamFree(state_.currentStream);
    // The text taken here names what the labels show even if a box below is
    // answered late: ticks are held back meanwhile, so it is also what plays.
    const QString itemText = SelectedText(c_.songList);

    if (IsTemporaryItem(itemText)) {
        const QString path = TemporaryItemPath(itemText);
        StartStream(path, true);
        if (c_.progressTimer.Period() != PROGRESS_PERIOD_MS) {
            c_.progressTimer.SetPeriod(PROGRESS_PERIOD_MS);
        }
        ShowPlayingTitle(SongTitle(itemText), STARTED_BY_USER_PREFIX);
        state_.nowPlayingText = itemText;
        return;
    }

    const QString path = LookupSongPath(SONG_DATABASE_NAME, itemText);
    if (!path.isEmpty()) {
        StartStream(path, true);
        if (c_.progressTimer.Period() != PROGRESS_PERIOD_MS) {
            c_.progressTimer.SetPeriod(PROGRESS_PERIOD_MS);
        }
        ShowPlayingTitle(SongTitle(itemText), STARTED_BY_USER_PREFIX);
        state_.nowPlayingText = itemText;
        state_.pathFound = true;
        return;
    }

    state_.pathFound = false;
    ShowBox(QStringLiteral("原目录未发现该歌曲文件，程序会自动将其从播放列表删除。"),
            QStringLiteral("提示"), BoxIcon::None);
    DeleteSelectedItem();
}

void Transport::TogglePlayPause() {
    if (c_.songList.count() < 1) {
        AddTemporarySong(c_.songList, prompts_);
        return;
    }
    if (audio_.ChannelIsActive(state_.currentStream) == ACTIVE_PLAYING) {
        audio_.ChannelPause(state_.currentStream);
        c_.progressTimer.SetPeriod(0);
        c_.spectrumTimer.SetPeriod(0);
        c_.playPause.setText(PLAY_CAPTION);
        return;
    }
    if (audio_.ChannelIsActive(state_.currentStream) == ACTIVE_PAUSED) {
        audio_.ChannelPlay(state_.currentStream, false);
        c_.progressTimer.SetPeriod(PROGRESS_PERIOD_MS);
        c_.spectrumTimer.SetPeriod(SPECTRUM_PERIOD_MS);
        c_.playPause.setText(PAUSE_CAPTION);
        return;
    }
    if (SelectedIndex(c_.songList) < 0) {
        // Waiting for a pick: the next tick chooses the song by the play mode.
        c_.progressTimer.SetPeriod(PROGRESS_PERIOD_MS);
        c_.spectrumTimer.SetPeriod(SPECTRUM_PERIOD_MS);
        c_.playPause.setText(PAUSE_CAPTION);
        return;
    }
    PlaySelectedSong();
    c_.playPause.setText(PAUSE_CAPTION);
}

void Transport::StopPlayback() {
    audio_.ChannelStop(state_.currentStream);
    c_.spectrumCanvas.hide();
    c_.playPause.setText(PLAY_CAPTION);
    // The status-bar clock (时钟取时) keeps running: nothing would start it
    // again before the next run, and a stopped clock shows a wrong time.
    c_.progressTimer.SetPeriod(0);
    c_.spectrumTimer.SetPeriod(0);
    SetProgressPosition(0);
    c_.nowPlaying.setText(WELCOME_TEXT);
}

void Transport::PlayNext() {
    StepAndPlay(+1);
}

void Transport::PlayPrevious() {
    StepAndPlay(-1);
}

void Transport::StepAndPlay(int step) {
    if (SelectedIndex(c_.songList) < 0) {
        return;
    }
    // Counting from the first item with the selected text, not from the
    // selection itself: with equal texts the same item is always reached.
    const int first = FindListItem(c_.songList, SelectedText(c_.songList));
    const int last = c_.songList.count() - 1;
    int target = first + step;
    if (step > 0 && first == last) {
        target = 0;
    } else if (step < 0 && first == 0) {
        target = last;
    }
    SelectIndex(c_.songList, target);
    PlaySelectedSong();
}

void Transport::SeekToSliderPosition() {
    // Read the position the user's action has just set: the slider's value
    // follows only after this notification.
    audio_.ChannelSetPosition(state_.currentStream,
                              SliderStepsToBytes(c_.progress.sliderPosition()));
}

void Transport::DeleteSelectedItem() {
    // Read again after the box: the selection may have changed while it was open.
    DeleteItem(c_.songList, SelectedIndex(c_.songList));
}

void Transport::ShowPlayingTitle(const QString& title, const QString& statusPrefix) {
    c_.nowPlaying.setText(title);
    c_.statusBar.SetPartText(NOW_PLAYING_STATUS_PART, statusPrefix + title);
}

void Transport::SetPlayingLook() {
    c_.playPause.setText(PAUSE_CAPTION);
    c_.spectrumCanvas.show();
}

void Transport::SetProgressMaximum(int steps) {
    // The minimum stays 1, so the earliest seek is one step into the song. A
    // maximum below 1 (a stream that failed to open, a song under half a step)
    // is written as 1: QSlider would otherwise pull its minimum down to the
    // maximum, letting a seek reach byte 0. The range 1..1 shows the thumb at
    // the left end, where a range of 0..1 with position 0 shows it as well.
    c_.progress.setMaximum(std::clamp(steps, 1, PROGRESS_STEP_LIMIT));
}

void Transport::SetProgressPosition(int steps) {
    // QSlider shows a position below the minimum at the minimum, as wanted.
    // Program writes never reach SeekToSliderPosition: it is bound to the
    // slider's user actions only.
    c_.progress.setValue(std::clamp(steps, 0, PROGRESS_STEP_LIMIT));
}

void Transport::ShowBox(const QString& text, const QString& title, BoxIcon icon) {
    // Progress ticks are held back while the box is open: a tick meanwhile
    // could start another song under the question, or stack a box per second
    // on the user when many songs are missing.
    struct OpenBox {
        int& count;
        explicit OpenBox(int& c) : count(c) { ++count; }
        ~OpenBox() { --count; }
        OpenBox(const OpenBox&) = delete;
        OpenBox& operator=(const OpenBox&) = delete;
    } open(openBoxes_);
    prompts_.ShowMessage(text, title, icon, BoxButtons::Ok);
}

}  // namespace tunvell
