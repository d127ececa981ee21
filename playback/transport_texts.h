#pragma once

#include <QString>

namespace tunvell {

// Captions, labels, status texts and timer periods shared by the transport
// commands and the progress tick.

inline const QString PAUSE_CAPTION = QStringLiteral("暂 停");  // a song is meant to play
inline const QString PLAY_CAPTION = QStringLiteral("播 放");
inline const QString WELCOME_TEXT = QStringLiteral("欢迎使用");

// Status-bar part 2: a song started by the user, or one the tick moved on to.
inline const QString STARTED_BY_USER_PREFIX = QStringLiteral("当前播放 ");
inline const QString STARTED_BY_TICK_PREFIX = QStringLiteral(" 正在播放 ");
inline constexpr int NOW_PLAYING_STATUS_PART = 2;

inline constexpr int PROGRESS_PERIOD_MS = 1000;
inline constexpr int SPECTRUM_PERIOD_MS = 30;

// Play modes as the settings hold them; any other text means no advance.
inline const QString RANDOM_MODE = QStringLiteral("0");
inline const QString LOOP_MODE = QStringLiteral("1");

}  // namespace tunvell
