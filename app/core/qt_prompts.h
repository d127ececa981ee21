#pragma once

#include "app/core/prompts.h"

namespace tunvell {

// Prompts shown with QMessageBox and QFileDialog.
class QtPrompts final : public Prompts {
public:
    BoxAnswer ShowMessage(const QString& text, const QString& title, BoxIcon icon,
                          BoxButtons buttons) override;
    std::optional<QString> ChooseFileToOpen() override;
    QString ChooseFolder(const QString& title) override;
};

}  // namespace tunvell
