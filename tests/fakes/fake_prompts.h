#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/core/prompts.h"

namespace tunvell::testing {

// Records every box shown and answers from scripts. A Yes/No box with no
// scripted answer is answered Yes; a dialog with none is cancelled.
class FakePrompts final : public Prompts {
public:
    struct Shown {
        QString text;
        QString title;
        BoxIcon icon;
        BoxButtons buttons;
    };

    std::vector<Shown> shown;
    std::deque<BoxAnswer> answers;
    std::deque<std::optional<QString>> files;
    std::deque<QString> folders;
    std::vector<QString> folderTitles;
    int fileDialogs = 0;
    // Runs while a box is "open", as timer ticks would during a real modal box.
    std::function<void()> whileOpen;

    BoxAnswer ShowMessage(const QString& text, const QString& title, BoxIcon icon,
                          BoxButtons buttons) override {
        shown.push_back({text, title, icon, buttons});
        if (whileOpen) {
            whileOpen();
        }
        if (buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        if (answers.empty()) {
            return BoxAnswer::Yes;
        }
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> ChooseFileToOpen() override {
        ++fileDialogs;
        if (files.empty()) {
            return std::nullopt;
        }
        // Copied apart from the optional: GCC 12 otherwise warns (wrongly) that
        // the copy may be uninitialised.
        const bool chosen = files.front().has_value();
        const QString path = files.front().value_or(QString());
        files.pop_front();
        if (!chosen) {
            return std::nullopt;
        }
        return path;
    }

    QString ChooseFolder(const QString& title) override {
        folderTitles.push_back(title);
        if (folders.empty()) {
            return {};
        }
        QString folder = folders.front();
        folders.pop_front();
        return folder;
    }
};

}  // namespace tunvell::testing
