#pragma once

#include <algorithm>
#include <string>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStringList>

#include "app/core/part_status_bar.h"
#include "library/item_text.h"
#include "tests/fakes/main_window_fixture.h"

namespace tunvell::testing {

// A main window over the fakes, with short names for what the transport
// tests look at. Every observation reads the controls and the fake audio, never
// the transport's own helpers.
class TransportHarness {
public:
    TransportHarness() { f.Window().时钟取时.SetPeriod(500); }

    MainWindowFixture f;
    Transport& player = f.Player();
    Ui::MainWindow& ui = f.Controls();
    QListWidget& list = *ui.列表框歌曲;
    QSlider& slider = *ui.滑块条1;

    static QString Temporary(const QString& path) { return TEMPORARY_PREFIX + path; }

    // Temporary items whose files open, each 10 s long unless said otherwise.
    void AddPlayableItems(const QStringList& paths) {
        for (const QString& path : paths) {
            f.audio.AddFile(path);
            list.addItem(Temporary(path));
        }
    }

    void Select(int index) {
        list.setCurrentRow(index);
        if (index < 0) {
            list.clearSelection();
        }
    }
    int Selected() const {
        const QList<QListWidgetItem*> items = list.selectedItems();
        return items.isEmpty() ? -1 : list.row(items.first());
    }
    QStringList Items() const {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i) {
            texts << list.item(i)->text();
        }
        return texts;
    }

    StreamHandle Current() const { return f.state.currentStream; }
    int Activity() { return f.audio.ChannelIsActive(Current()); }
    QString CurrentPath() const {
        const FakeAudioOutput::Stream* stream = f.audio.Find(Current());
        return stream == nullptr ? QString() : stream->path;
    }
    void EndCurrent() { f.audio.EndStream(Current()); }

    QString Caption() const { return ui.按钮播放暂停->text(); }
    QString Label() const { return ui.透明标签当前播放->text(); }
    QString Status() const { return ui.状态条1->PartText(2); }
    bool CanvasShown() const { return !ui.画板1->isHidden(); }
    int ProgressPeriod() { return f.Window().时钟1.Period(); }
    int SpectrumPeriod() { return f.Window().绘制时钟.Period(); }
    int ClockPeriod() { return f.Window().时钟取时.Period(); }

    // How many audio calls start with `operation`, e.g. "StreamCreateFile(".
    int CountCalls(const std::string& operation) const {
        return static_cast<int>(
            std::count_if(f.audio.calls.begin(), f.audio.calls.end(),
                          [&](const std::string& call) { return call.rfind(operation, 0) == 0; }));
    }
};

}  // namespace tunvell::testing
