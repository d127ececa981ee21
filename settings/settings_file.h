#pragma once

#include <cstdint>
#include <optional>

#include <QString>

#include "app/core/colorref.h"

namespace tunvell {

// Reads a value text as the C library's atof does (in the "C" locale, whatever
// the user's locale) and truncates it toward zero to a 32-bit integer. Values
// beyond the 32-bit range saturate at its ends; a NaN reads 0. The one number
// rule of every settings reader.
std::int32_t SettingsNumber(const QString& text);

// A colour value text: its number as a COLORREF, or `fallback` when the text is
// empty. The number keeps all 32 bits, so a value read is written back as read.
ColorRef SettingsColor(const QString& text, ColorRef fallback);

// The decimal text a colour is stored as: the signed 32-bit reading of the
// value, so that what SettingsNumber read comes back unchanged.
QString SettingsColorText(ColorRef color);

// The settings file "config.ini": key-level reads and writes, section and key
// names matched without regard to case, everything else in the file kept.
// Every call reads the whole file again, so a change by hand is seen at once.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    const QString& Path() const { return path_; }
    bool Exists() const;
    // The value text; `fallback` (or "" when none is given) when the file, the
    // section or the key is missing. A key present with an empty value reads "".
    QString Read(const QString& section, const QString& key,
                 const std::optional<QString>& fallback = std::nullopt) const;
    // Sets the key, creating file, section or key as needed; the file on disk is
    // replaced atomically. False when it could not be written; the old file is
    // then left as it was.
    bool Write(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
};

// "config.ini" in the given program directory.
QString SettingsPathIn(const QString& programDirectory);

}  // namespace tunvell
