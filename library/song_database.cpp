#include "library/song_database.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <limits>

namespace tunvell {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using DatabasePtr = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Readers and appenders wait this long for another process's lock before they
// give up; the user interface is blocked meanwhile, so keep it short.
constexpr int BUSY_TIMEOUT_MS = 1000;

const char* const SELECT_PATHS = "SELECT path FROM songs ORDER BY rowid";
const char* const SELECT_PATHS_CONTAINING =
    "SELECT path FROM songs WHERE instr(path, ?1) > 0 ORDER BY rowid";
const char* const COUNT_RECORDS = "SELECT count(*) FROM songs";
const char* const INSERT_PATH = "INSERT INTO songs (path) VALUES (?1)";
const char* const CREATE_TABLE = "CREATE TABLE songs (path TEXT NOT NULL)";

StatementPtr Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return StatementPtr(raw);
}

bool Execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString ColumnText(sqlite3_stmt* statement) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    const int bytes = sqlite3_column_bytes(statement, 0);
    return text ? QString::fromUtf8(text, bytes) : QString();
}

bool BindText(sqlite3_stmt* statement, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text64(statement, 1, utf8.constData(),
                               static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                               SQLITE_UTF8) == SQLITE_OK;
}

// True when the open file is one of our stores: a table `songs` whose column
// `path` is declared TEXT. Only reads the file; a file that is not a database
// fails here without being touched.
bool HasSongsSchema(sqlite3* db) {
    const char* declaredType = nullptr;
    if (sqlite3_table_column_metadata(db, "main", "songs", "path", &declaredType, nullptr, nullptr,
                                      nullptr, nullptr) != SQLITE_OK) {
        return false;
    }
    return declaredType && qstricmp(declaredType, "TEXT") == 0;
}

DatabasePtr OpenFile(const QString& fileName, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(fileName).constData(), &raw, flags, nullptr);
    DatabasePtr db(raw);
    if (rc != SQLITE_OK) {
        return nullptr;
    }
    return db;
}

}  // namespace

struct SongDatabase::Impl {
    DatabasePtr db;
    // The record cursor, stepped lazily. Every write resets it, since a running
    // statement may or may not see rows changed under it; the next read steps
    // it again to the same place.
    StatementPtr cursor;
    qint64 position = 0;  // records skipped since Open
    bool positioned = false;
    bool onRecord = false;

    void Position() {
        if (positioned) {
            return;
        }
        sqlite3_reset(cursor.get());
        onRecord = sqlite3_step(cursor.get()) == SQLITE_ROW;
        for (qint64 i = 0; onRecord && i < position; ++i) {
            onRecord = sqlite3_step(cursor.get()) == SQLITE_ROW;
        }
        positioned = true;
    }

    void ReleaseCursor() {
        sqlite3_reset(cursor.get());
        positioned = false;
        onRecord = false;
    }
};

SongDatabase::SongDatabase() : impl_(std::make_unique<Impl>()) {}
SongDatabase::~SongDatabase() {
    Close();
}

bool SongDatabase::Open(const QString& fileName) {
    Close();
    // Only a regular file can be a store; anything else (a folder, a pipe) is
    // refused before SQLite could block on it or write beside it.
    if (!QFileInfo(fileName).isFile()) {
        return false;
    }
    DatabasePtr db = OpenFile(fileName, SQLITE_OPEN_READWRITE);
    if (!db || sqlite3_db_readonly(db.get(), "main") != 0) {
        return false;
    }
    sqlite3_busy_timeout(db.get(), BUSY_TIMEOUT_MS);
    if (!HasSongsSchema(db.get())) {
        return false;
    }
    StatementPtr cursor = Prepare(db.get(), SELECT_PATHS);
    if (!cursor || !Execute(db.get(), "PRAGMA synchronous = FULL")) {
        return false;
    }
    impl_->db = std::move(db);
    impl_->cursor = std::move(cursor);
    impl_->position = 0;
    impl_->positioned = false;
    impl_->onRecord = false;
    return true;
}

bool SongDatabase::IsOpen() const {
    return impl_->db != nullptr;
}

int SongDatabase::RecordCount() {
    if (!IsOpen()) {
        return 0;
    }
    const StatementPtr count = Prepare(impl_->db.get(), COUNT_RECORDS);
    if (!count || sqlite3_step(count.get()) != SQLITE_ROW) {
        return 0;
    }
    const sqlite3_int64 records = sqlite3_column_int64(count.get(), 0);
    return static_cast<int>(std::min<sqlite3_int64>(records, std::numeric_limits<int>::max()));
}

QString SongDatabase::ReadPath() {
    if (!IsOpen()) {
        return {};
    }
    impl_->Position();
    return impl_->onRecord ? ColumnText(impl_->cursor.get()) : QString();
}

void SongDatabase::Skip() {
    if (!IsOpen()) {
        return;
    }
    if (!impl_->positioned) {
        ++impl_->position;
        return;
    }
    if (impl_->onRecord) {
        ++impl_->position;
        impl_->onRecord = sqlite3_step(impl_->cursor.get()) == SQLITE_ROW;
    }
}

void SongDatabase::AddRecord(const QString& path) {
    if (!IsOpen()) {
        return;
    }
    impl_->ReleaseCursor();
    const StatementPtr insert = Prepare(impl_->db.get(), INSERT_PATH);
    if (insert && BindText(insert.get(), path)) {
        // An autocommit insert: with synchronous FULL it is on disk when step returns.
        sqlite3_step(insert.get());
    }
}

int SongDatabase::AddRecords(const QStringList& paths) {
    if (!IsOpen() || paths.isEmpty()) {
        return 0;
    }
    impl_->ReleaseCursor();
    sqlite3* db = impl_->db.get();
    if (!Execute(db, "BEGIN IMMEDIATE")) {
        return 0;
    }
    const StatementPtr insert = Prepare(db, INSERT_PATH);
    bool stored = insert != nullptr;
    for (qsizetype i = 0; stored && i < paths.size(); ++i) {
        stored = BindText(insert.get(), paths[i]) && sqlite3_step(insert.get()) == SQLITE_DONE;
        sqlite3_reset(insert.get());
    }
    if (stored && Execute(db, "COMMIT")) {
        return static_cast<int>(std::min<qsizetype>(paths.size(), std::numeric_limits<int>::max()));
    }
    Execute(db, "ROLLBACK");
    return 0;
}

bool SongDatabase::Clear() {
    if (!IsOpen()) {
        return false;
    }
    impl_->ReleaseCursor();
    sqlite3* db = impl_->db.get();
    // A lock held elsewhere fails at once: the caller decides whether to retry.
    sqlite3_busy_timeout(db, 0);
    bool cleared = Execute(db, "BEGIN IMMEDIATE");
    if (cleared) {
        cleared = Execute(db, "DELETE FROM songs") && Execute(db, "COMMIT");
        if (!cleared) {
            Execute(db, "ROLLBACK");
        }
    }
    sqlite3_busy_timeout(db, BUSY_TIMEOUT_MS);
    return cleared;
}

void SongDatabase::Close() {
    impl_->cursor.reset();
    impl_->db.reset();
    impl_->position = 0;
    impl_->positioned = false;
    impl_->onRecord = false;
}

QStringList SongDatabase::ReadAllPaths() {
    QStringList paths;
    if (!IsOpen()) {
        return paths;
    }
    const StatementPtr select = Prepare(impl_->db.get(), SELECT_PATHS);
    if (!select) {
        return paths;
    }
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        paths.append(ColumnText(select.get()));
    }
    // A read cut short (a lock, a damaged page) gives nothing rather than a part.
    if (rc != SQLITE_DONE) {
        paths.clear();
    }
    return paths;
}

QString SongDatabase::FindPath(const QString& fragment,
                               const std::function<bool(const QString&)>& accept) {
    if (!IsOpen()) {
        return {};
    }
    const StatementPtr select = Prepare(impl_->db.get(), SELECT_PATHS_CONTAINING);
    if (!select || !BindText(select.get(), fragment)) {
        return {};
    }
    while (sqlite3_step(select.get()) == SQLITE_ROW) {
        QString path = ColumnText(select.get());
        if (accept(path)) {
            return path;
        }
    }
    return {};
}

bool SongDatabase::CreateEmpty(const QString& fileName) {
    // NewOnly is the guard against ever touching a file that is already there,
    // a user's store above all.
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    file.close();
    bool created = false;
    {
        const DatabasePtr db = OpenFile(fileName, SQLITE_OPEN_READWRITE);
        created = db && Execute(db.get(), CREATE_TABLE);
    }
    if (!created) {
        QFile::remove(fileName);
    }
    return created;
}

}  // namespace tunvell
