#pragma once

#include <QFrame>

#include "app/core/colorref.h"

namespace tunvell {

// A sunken swatch that shows one colour and keeps that colour's exact number,
// so that a value read from the file is saved back as it was read.
class ColorPreview : public QFrame {
    Q_OBJECT
public:
    explicit ColorPreview(QWidget* parent = nullptr);

    void SetColor(ColorRef color);
    ColorRef Color() const { return color_; }

Q_SIGNALS:
    // The swatch hides most of its colour chooser; a click on it opens the chooser.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ColorRef color_ = 0;
};

}  // namespace tunvell
