#pragma once

#include <cstdint>

#include <QColor>

namespace tunvell {

// Colours are kept as the settings file stores them: 0x00BBGGRR, red lowest.
using ColorRef = std::uint32_t;

inline constexpr ColorRef DEFAULT_SPECTRUM_PEN = 16777215;         // white
inline constexpr ColorRef DEFAULT_SPECTRUM_BACKGROUND = 12295509;  // greyish blue

inline QColor ColorFromRef(ColorRef ref) {
    return QColor(static_cast<int>(ref & 0xFF), static_cast<int>((ref >> 8) & 0xFF),
                  static_cast<int>((ref >> 16) & 0xFF));
}

inline ColorRef RefFromColor(const QColor& color) {
    return static_cast<ColorRef>(color.red()) | (static_cast<ColorRef>(color.green()) << 8) |
           (static_cast<ColorRef>(color.blue()) << 16);
}

}  // namespace tunvell
