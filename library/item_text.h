#pragma once

#include <QChar>
#include <QString>

namespace tunvell {

// Song-list items are either a database song's file name or a temporary song:
// this prefix followed by the full path.
inline const QString TEMPORARY_PREFIX = QStringLiteral("临时 ");
inline const QString MP3_EXTENSION = QStringLiteral(".mp3");
// The separator of the paths this platform stores.
inline constexpr QChar PATH_SEPARATOR = QLatin1Char('/');

bool IsTemporaryItem(const QString& itemText);
QString TemporaryItemPath(const QString& itemText);
QString SongTitle(const QString& itemText);
QString FileNameOfPath(const QString& path);

}  // namespace tunvell
