// Build helper: puts an empty song store at each path given, leaving any file
// that is already there untouched (it may hold the user's songs).
#include <cstdio>

#include <QFile>
#include <QFileInfo>
#include <QString>

#include "library/song_database.h"

int main(int argc, char* argv[]) {
    int failures = 0;
    for (int i = 1; i < argc; ++i) {
        const QString fileName = QFile::decodeName(argv[i]);
        if (QFileInfo::exists(fileName) || QFileInfo(fileName).isSymLink()) {
            continue;
        }
        if (!tunvell::SongDatabase::CreateEmpty(fileName)) {
            std::fprintf(stderr, "cannot create the song store %s\n", argv[i]);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
