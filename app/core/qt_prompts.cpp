#include "app/core/qt_prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tunvell {

namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Error:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

BoxAnswer QtPrompts::ShowMessage(const QString& text, const QString& title, BoxIcon icon,
                                 BoxButtons buttons) {
    QMessageBox box(
        ToQtIcon(icon), title, text,
        buttons == BoxButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    const int answer = box.exec();
    if (buttons == BoxButtons::Ok) {
        return BoxAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

std::optional<QString> QtPrompts::ChooseFileToOpen() {
    QFileDialog dialog;
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::ChooseFolder(const QString& title) {
    return QFileDialog::getExistingDirectory(nullptr, title);
}

}  // namespace tunvell
