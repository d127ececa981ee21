#pragma once

#include <QString>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;
class QWidget;

namespace tunvell {

class AudioOutput;
class PartStatusBar;
class PeriodTimer;
class Prompts;
class RandomSource;
struct PlayerState;

// The controls of the main window that starting songs and the transport use.
struct TransportControls {
    QListWidget& songList;      // 列表框歌曲
    QPushButton& playPause;     // 按钮播放暂停
    QWidget& spectrumCanvas;    // 画板1
    QSlider& progress;          // 滑块条1
    QLabel& nowPlaying;         // 透明标签当前播放
    PartStatusBar& statusBar;   // 状态条1
    PeriodTimer& progressTimer; // 时钟1
    PeriodTimer& spectrumTimer; // 绘制时钟
    PeriodTimer& clockTimer;    // 时钟取时
};

// Starting songs, the transport commands and the progress tick with its
// automatic advance.
class Transport {
public:
    Transport(TransportControls controls, PlayerState& state, AudioOutput& audio,
              Prompts& prompts, RandomSource& random);

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
    TransportControls c_;
    PlayerState& state_;
    AudioOutput& audio_;
    Prompts& prompts_;
    RandomSource& random_;
};

}  // namespace tunvell
