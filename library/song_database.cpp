#include "library/song_database.h"

#include <sqlite3.h>

namespace tunvell {

// Filled by the song-library work.
struct SongDatabase::Impl {};

SongDatabase::SongDatabase() : impl_(std::make_unique<Impl>()) {}
SongDatabase::~SongDatabase() = default;
bool SongDatabase::Open(const QString&) { return false; }
bool SongDatabase::IsOpen() const { return false; }
int SongDatabase::RecordCount() { return 0; }
QString SongDatabase::ReadPath() { return {}; }
void SongDatabase::Skip() {}
void SongDatabase::AddRecord(const QString&) {}
bool SongDatabase::Clear() { return false; }
void SongDatabase::Close() {}
bool SongDatabase::CreateEmpty(const QString&) { return false; }

}  // namespace tunvell
