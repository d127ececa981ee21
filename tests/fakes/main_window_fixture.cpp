#include "tests/fakes/main_window_fixture.h"

#include <QListWidget>

#include "app/shell.h"
#include "library/song_database.h"
#include "spectrum/spectrum.h"

namespace tunvell::testing {

MainWindowFixture::MainWindowFixture() {
    AllocateSpectrumBuffers(state);
    window_ = std::make_unique<MainWindow>(
        Services{state, audio, mixer, prompts, clock, random, dir.Path()});
}

MainWindowFixture::~MainWindowFixture() = default;

void MainWindowFixture::Start() {
    StartPlayer(*window_);
}

void MainWindowFixture::WriteSongDatabase(const QStringList& paths) {
    const QString file = dir.FilePath(SONG_DATABASE_NAME);
    QFile::remove(file);
    SongDatabase::CreateEmpty(file);
    SongDatabase store;
    store.Open(file);
    for (const QString& path : paths) {
        store.AddRecord(path);
    }
    store.Close();
}

void MainWindowFixture::AddListItems(const QStringList& texts) {
    Controls().列表框歌曲->addItems(texts);
}

}  // namespace tunvell::testing
