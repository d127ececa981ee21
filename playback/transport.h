#pragma once

#include <QString>

#include "app/core/prompts.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QWidget;

namespace tunvell {

class AudioOutput;
class PartStatusBar;
class PeriodTimer;
class RandomSource;
struct PlayerState;

// The controls of the main window that starting songs and the transport use.
struct TransportControls {
    QListWidget& songList;       // 列表框歌曲
    QPushButton& playPause;      // 按钮播放暂停
    QWidget& spectrumCanvas;     // 画板1
    QSlider& progress;           // 滑块条1
    QLabel& nowPlaying;          // 透明标签当前播放
    PartStatusBar& statusBar;    // 状态条1
    PeriodTimer& progressTimer;  // 时钟1
    PeriodTimer& spectrumTimer;  // 绘制时钟
    PeriodTimer& clockTimer;     // 时钟取时
};

// Starting songs, the transport commands and the progress tick with its
// automatic advance.
//
// The transport keeps no play state of its own: what plays is read from the
// stream's activity and the controls each time. The one thing it remembers is
// whether one of its own message boxes is open, so that the progress tick can
// stay out of the way meanwhile.
class Transport {
public:
    Transport(TransportControls controls, PlayerState& state, AudioOutput& audio, Prompts& prompts,
              RandomSource& random);

    void StartStream(const QString& path, bool reportFailure);
    void PlaySelectedSong();
    void TogglePlayPause();
    void StopPlayback();
    void PlayNext();
    void PlayPrevious();
    void SeekToSliderPosition();
    void ProgressTick();
    void RemoveMissingSong(const QString& itemText);

private:
    // Selects the item after (step +1) or before (step -1) the first item that
    // carries the selected text, wrapping at the ends, and starts it.
    void StepAndPlay(int step);
    void AdvanceAtRandom();
    void AdvanceInLoop();
    void DeleteSelectedItem();
    void ShowPlayingTitle(const QString& title, const QString& statusPrefix);
    void SetPlayingLook();
    void SetProgressMaximum(int steps);
    void SetProgressPosition(int steps);
    // A box of this class; progress ticks are held back while it is open.
    void ShowBox(const QString& text, const QString& title, BoxIcon icon);

    TransportControls c_;
    PlayerState& state_;
    AudioOutput& audio_;
    Prompts& prompts_;
    RandomSource& random_;
    int openBoxes_ = 0;
};

}  // namespace tunvell
