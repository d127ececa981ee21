#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

struct sqlite3;
struct sqlite3_stmt;

namespace tunvell {

// The file name of the song store, opened relative to the current directory.
inline const QString SONG_DATABASE_NAME = QStringLiteral("name.edb");

// The song store: an SQLite file with one table `songs (path TEXT NOT NULL)`,
// records in rowid order, paths as UTF-8 text. A store is open only inside one
// operation of the caller; it never creates the file and never alters a file
// that is not such a store.
class SongDatabase {
public:
    SongDatabase();
    ~SongDatabase();
    SongDatabase(const SongDatabase&) = delete;
    SongDatabase& operator=(const SongDatabase&) = delete;

    // Opens for reading and writing and positions at the first record; false when
    // the file is missing, not such a store, read-only or cannot be opened.
    bool Open(const QString& fileName);
    bool IsOpen() const;
    int RecordCount();                    // 0 when no store is open
    QString ReadPath();                   // field 1 of the current record; "" past the end
    void Skip();                          // moves to the next record
    void AddRecord(const QString& path);  // durable when it returns; nothing when closed
    bool Clear();                         // false when closed, locked or not writable
    void Close();                         // nothing when none is open

    // Every path in stored order, regardless of the cursor; empty when closed or
    // unreadable.
    QStringList ReadAllPaths();
    // The first path in stored order that contains `fragment` (byte for byte, no
    // wildcards) and that `accept` takes; "" when none does or when closed. The
    // store itself skips the records without the fragment, which is most of them.
    QString FindPath(const QString& fragment, const std::function<bool(const QString&)>& accept);
    // Appends all paths in one transaction, durable when it returns: either all
    // are stored (returns their count) or none is (returns 0). 0 when closed.
    int AddRecords(const QStringList& paths);

    // Creates an empty store at fileName when no file is there; false when it
    // cannot. Never touches an existing file.
    static bool CreateEmpty(const QString& fileName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tunvell
