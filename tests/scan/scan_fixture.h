#pragma once

#include <memory>

#include <QListWidget>

#include "library/song_database.h"
#include "scan/scan_window.h"
#include "scan/scan_window_controls.h"
#include "tests/fakes/main_window_fixture.h"
#include "tests/scan/fake_event_waits.h"

namespace tunvell::testing {

// A scan window opened from a real main window over the fakes, in a temporary
// program directory, with waits that take no time.
class ScanFixture {
public:
    ScanFixture()
        : window(std::make_unique<ScanWindow>(main.Player(), *main.Controls().列表框歌曲,
                                              main.prompts, main.clock, nullptr, &waits)) {}

    Ui::ScanWindow& Ui() { return window->Controls(); }

    QStringList ScanList() {
        QStringList items;
        for (int row = 0; row < Ui().列表框1->count(); ++row) {
            items.append(Ui().列表框1->item(row)->text());
        }
        return items;
    }
    QStringList MainList() {
        QStringList items;
        for (int row = 0; row < main.Controls().列表框歌曲->count(); ++row) {
            items.append(main.Controls().列表框歌曲->item(row)->text());
        }
        return items;
    }
    QString Message() { return Ui().状态条1->PartText(1); }

    void ScanFolder(const QString& folder) {
        Ui().编辑框1->setText(folder);
        window->ScanFolder();
    }

    QString StoreFile() const { return main.dir.FilePath(SONG_DATABASE_NAME); }
    // The store's records, or nullopt when it cannot be opened.
    std::optional<QStringList> StoredPaths() const {
        SongDatabase store;
        if (!store.Open(StoreFile())) {
            return std::nullopt;
        }
        return store.ReadAllPaths();
    }

    MainWindowFixture main;
    FakeEventWaits waits;
    std::unique_ptr<ScanWindow> window;
};

}  // namespace tunvell::testing
