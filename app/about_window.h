#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class AboutWindow;
}

namespace tunvell {

// 关于: the program's name, version and the notes of this version. It has no
// commands of its own and closes with its close box.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    ~AboutWindow() override;

private:
    std::unique_ptr<Ui::AboutWindow> ui_;
};

}  // namespace tunvell
