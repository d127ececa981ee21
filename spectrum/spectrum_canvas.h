#pragma once

#include <QFrame>
#include <QImage>

#include "app/core/colorref.h"

namespace tunvell {

// The spectrum canvas 画板1: a one-pixel sunken edge around an interior that is
// kept in an image. Drawing goes into the image with the pixel rules of the
// classic GDI calls; painting only copies the image.
class SpectrumCanvas : public QFrame {
    Q_OBJECT
public:
    explicit SpectrumCanvas(QWidget* parent = nullptr);

    void SetPenColor(ColorRef color);
    ColorRef PenColor() const { return pen_; }
    void SetBackgroundColor(ColorRef color);
    ColorRef BackgroundColor() const { return background_; }

    // Fills the interior with the background colour.
    void Clear();
    // One-pixel outline over columns left..right-1 and rows top..bottom-1; the
    // inside is left as it is.
    void Rectangle(int left, int top, int right, int bottom);
    // Horizontal line from x1 up to, not including, x2.
    void Line(int x1, int y, int x2);

    const QImage& Interior() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ColorRef pen_ = DEFAULT_SPECTRUM_PEN;
    ColorRef background_ = DEFAULT_SPECTRUM_BACKGROUND;
    QImage image_;
};

}  // namespace tunvell
