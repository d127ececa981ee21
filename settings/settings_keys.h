#pragma once

#include <QLatin1String>

namespace tunvell {

// The sections and keys of "config.ini", in one place. Every reader and writer
// uses these names; the file matches them without regard to case.
inline constexpr QLatin1String SECTION_MODE{"mode"};
inline constexpr QLatin1String KEY_PLAY_MODE{"pmd"};
inline constexpr QLatin1String SECTION_AUTORUN{"autorun"};
inline constexpr QLatin1String KEY_AUTO_PLAY{"par"};
inline constexpr QLatin1String SECTION_POSITION{"position"};
inline constexpr QLatin1String KEY_BAR_WIDTH{"pos"};
inline constexpr QLatin1String SECTION_COLOR{"color"};
inline constexpr QLatin1String KEY_PEN_COLOR{"cl1"};
inline constexpr QLatin1String KEY_BACKGROUND_COLOR{"cl2"};

inline constexpr QLatin1String SETTINGS_FILE_NAME{"config.ini"};

// The spectrum bar width when there is no file (the colours are in colorref.h).
inline constexpr int DEFAULT_BAR_WIDTH = 7;

}  // namespace tunvell
