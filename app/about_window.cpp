#include "app/about_window.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/button_icons.h"
#include "ui_about_window.h"

namespace tunvell {

namespace {

constexpr int PICTURE_SIZE = 88;

// "宋体" where it is installed; elsewhere fontconfig picks a face with the
// same glyphs, and the pixel sizes keep the layout.
void SetSongFont(QWidget& label, int pixelSize, bool bold) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label.setFont(font);
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::AboutWindow>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    SetSongFont(*ui_->透明标签4, 19, true);
    SetSongFont(*ui_->透明标签5, 14, true);
    // The notes keep lines 14 pixels apart (rich text in the layout): a stand-in
    // face with taller lines would otherwise push the fourth line out of sight.
    SetSongFont(*ui_->透明标签1, 14, false);
    ui_->画板1->setPixmap(ProgramIcon().pixmap(PICTURE_SIZE, PICTURE_SIZE));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

AboutWindow::~AboutWindow() = default;

}  // namespace tunvell
