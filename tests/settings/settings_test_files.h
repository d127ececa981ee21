#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tunvell::testing {

// Puts exactly these bytes at `path`; a null array means "no file".
inline void PutFile(const QString& path, const QByteArray& content) {
    QFile::remove(path);
    if (content.isNull()) {
        return;
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content);
    }
}

// The bytes at `path`, or a null array when there is no readable file.
inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    return bytes.isNull() ? QByteArray("") : bytes;
}

}  // namespace tunvell::testing
