#include "settings/settings_file.h"

#include <QDir>
#include <QFileInfo>

namespace tunvell {

// Filled by the settings work.
std::int32_t SettingsNumber(const QString& /*text*/) { return 0; }

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

bool SettingsFile::Exists() const { return QFileInfo(path_).isFile(); }

QString SettingsFile::Read(const QString&, const QString&, const std::optional<QString>& fallback) const {
    return fallback.value_or(QString());
}

bool SettingsFile::Write(const QString&, const QString&, const QString&) { return false; }

QString SettingsPathIn(const QString& programDirectory) {
    return QDir(programDirectory).filePath(QStringLiteral("config.ini"));
}

}  // namespace tunvell
