#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace tunvell {

// Reads a value text as the C library's atof does and truncates it toward zero
// to a 32-bit integer; the one number rule of every settings reader.
std::int32_t SettingsNumber(const QString& text);

// The settings file "config.ini": key-level reads and writes, section and key
// names matched without regard to case, everything else in the file kept.
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
    // replaced atomically. False when it could not be written.
    bool Write(const QString& section, const QString& key, const QString& value);

private:
    QString path_;
};

// "config.ini" in the given program directory.
QString SettingsPathIn(const QString& programDirectory);

}  // namespace tunvell
