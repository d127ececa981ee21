#pragma once

// Helpers that build and inspect store files with SQLite directly, so that the
// tests do not depend on the code they test to set up their fixtures.

#include <sqlite3.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace tunvell::testing {

// Runs statements on the file, creating it when missing; false on any error.
inline bool ExecuteOn(const QString& fileName, const char* sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// A store holding these paths in this order.
inline bool WriteStore(const QString& fileName, const QStringList& paths) {
    QFile::remove(fileName);
    if (!ExecuteOn(fileName, "CREATE TABLE songs (path TEXT NOT NULL)")) {
        return false;
    }
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, SQLITE_OPEN_READWRITE,
                              nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO songs (path) VALUES (?1)", -1, &insert,
                                  nullptr) == SQLITE_OK;
    for (const QString& path : paths) {
        if (!ok) {
            break;
        }
        const QByteArray utf8 = path.toUtf8();
        ok = sqlite3_bind_text(insert, 1, utf8.constData(), static_cast<int>(utf8.size()),
                               SQLITE_TRANSIENT) == SQLITE_OK &&
             sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// The paths of a store in rowid order, read with SQLite directly.
inline QStringList StoredPaths(const QString& fileName) {
    QStringList paths;
    sqlite3* db = nullptr;
    sqlite3_stmt* select = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(fileName).constData(), &db, SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT path FROM songs ORDER BY rowid", -1, &select, nullptr) ==
            SQLITE_OK) {
        while (sqlite3_step(select) == SQLITE_ROW) {
            paths.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, 0)),
                                  sqlite3_column_bytes(select, 0)));
        }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return paths;
}

inline bool WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The names in a folder, journals and other leftovers included.
inline QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

}  // namespace tunvell::testing
