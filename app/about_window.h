#pragma once

#include <QDialog>

namespace tunvell {

// 关于: the program's name, version and the notes of this version.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    ~AboutWindow() override;
};

}  // namespace tunvell
