#include <cmath>
#include <cstdlib>
#include <limits>

#include <locale.h>

#include "settings/settings_file.h"

namespace tunvell {

namespace {

// atof follows the process's numeric locale, which Qt sets from the user's
// environment; the file is the same file everywhere, so read it in "C".
double ParseLikeAtof(const char* text) {
#if defined(_WIN32)
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(text, nullptr, cLocale);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text, nullptr, cLocale);
#endif
}

}  // namespace

std::int32_t SettingsNumber(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const double value = ParseLikeAtof(bytes.constData());
    if (std::isnan(value)) {
        return 0;
    }
    // Converting a double outside the target range is undefined; saturate instead.
    constexpr double LARGEST = std::numeric_limits<std::int32_t>::max();
    constexpr double SMALLEST = std::numeric_limits<std::int32_t>::min();
    if (value >= LARGEST) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= SMALLEST) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

ColorRef SettingsColor(const QString& text, ColorRef fallback) {
    return text.isEmpty() ? fallback : static_cast<ColorRef>(SettingsNumber(text));
}

QString SettingsColorText(ColorRef color) {
    return QString::number(static_cast<std::int32_t>(color));
}

}  // namespace tunvell
