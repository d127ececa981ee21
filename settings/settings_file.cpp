#include "settings/settings_file.h"

#include <string>

#include <SimpleIni.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "settings/ini_layout.h"
#include "settings/settings_keys.h"

namespace tunvell {

namespace {

// The whole file, or nothing when it cannot be read. A missing file reads as
// an empty text.
std::optional<QByteArray> ReadWholeFile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return QByteArray();
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return text;
}

// The parser as INI files are usually read: "key=value" without blanks, and of
// keys given twice the first counts (a write then leaves only one).
void Configure(CSimpleIniA& ini) {
    ini.SetSpaces(false);
    ini.SetMultiKey(true);
}

bool LoadInto(CSimpleIniA& ini, const PreparedIniText& prepared) {
    Configure(ini);
    return ini.LoadData(prepared.text.constData(), static_cast<size_t>(prepared.text.size())) >= 0;
}

// Whether a name or value reads back as written: a line break would end the
// line, '=' ends a key, ']' ends a section, a leading ';', '#' or '[' makes a
// comment or a section of the key, and blanks around a name are dropped.
bool IsWritable(const QString& section, const QString& key, const QString& value) {
    const auto oneLine = [](const QString& text) {
        return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
               !text.contains(QChar(u'\0'));
    };
    if (!oneLine(section) || !oneLine(key) || !oneLine(value)) {
        return false;
    }
    if (key.isEmpty() || key.trimmed() != key || section.trimmed() != section ||
        section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('='))) {
        return false;
    }
    const QChar first = key.front();
    return first != QLatin1Char(';') && first != QLatin1Char('#') && first != QLatin1Char('[');
}

// A key found without regard to case keeps the spelling the file gives it.
std::string ExistingSpelling(const CSimpleIniA& ini, const std::string& section,
                             const std::string& key) {
    CSimpleIniA::TNamesDepend keys;
    ini.GetAllKeys(section.c_str(), keys);
    const SI_NoCase<char> less;
    for (const CSimpleIniA::Entry& entry : keys) {
        if (!less(entry.pItem, key.c_str()) && !less(key.c_str(), entry.pItem)) {
            return entry.pItem;
        }
    }
    return key;
}

}  // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}

bool SettingsFile::Exists() const {
    return QFileInfo(path_).isFile();
}

QString SettingsFile::Read(const QString& section, const QString& key,
                           const std::optional<QString>& fallback) const {
    const QString missing = fallback.value_or(QString());
    const std::optional<QByteArray> text = ReadWholeFile(path_);
    CSimpleIniA ini;
    if (!text || !LoadInto(ini, PrepareIniText(*text))) {
        return missing;
    }
    const char* value =
        ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return value != nullptr ? QString::fromUtf8(value) : missing;
}

bool SettingsFile::Write(const QString& section, const QString& key, const QString& value) {
    if (!IsWritable(section, key, value)) {
        return false;
    }
    // A file that is there but cannot be read is not replaced: its other
    // contents would be lost.
    const std::optional<QByteArray> original = ReadWholeFile(path_);
    if (!original) {
        return false;
    }
    const PreparedIniText prepared = PrepareIniText(*original);
    CSimpleIniA ini;
    if (!LoadInto(ini, prepared)) {
        return false;
    }
    const std::string sectionName = section.toUtf8().toStdString();
    const std::string keyName = ExistingSpelling(ini, sectionName, key.toUtf8().toStdString());
    if (ini.SetValue(sectionName.c_str(), keyName.c_str(), value.toUtf8().constData(), nullptr,
                     true) < 0) {
        return false;
    }
    std::string saved;
    if (ini.Save(saved, false) < 0) {
        return false;
    }
    const QByteArray text = RestoreIniText(saved, prepared.layout);

    // Written beside the file and renamed over it: a crash or a full disk leaves
    // the old file whole.
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // commit() alone misses a failure while it flushes the buffered end of the
    // text and would rename a cut file into place; flush first and check.
    if (file.write(text) != text.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString SettingsPathIn(const QString& programDirectory) {
    return QDir(programDirectory).filePath(SETTINGS_FILE_NAME);
}

}  // namespace tunvell
