#pragma once

#include <QFrame>
#include <QImage>
#include <QRgb>

#include "app/core/colorref.h"

namespace tunvell {

class ScreenSurface;

// The spectrum canvas 画板1: a one-pixel sunken edge around an interior that is
// kept in an image. Drawing goes into the image with the pixel rules of the
// classic GDI calls (one-pixel solid pen, hollow brush, end points excluded) and
// is clipped to the interior; painting only copies the image. The drawing calls
// do not repaint by themselves: whoever finishes a picture calls Present().
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
    // inside is left as it is. An empty or inverted range draws nothing.
    void Rectangle(int left, int top, int right, int bottom);
    // Horizontal line from x1 towards x2, x2 itself not drawn (so x1 == x2
    // draws nothing, and a line drawn leftwards covers x2+1..x1).
    void Line(int x1, int y, int x2);

    // The interior, in widget coordinates offset by the edge.
    const QImage& Interior() const { return image_; }

    // Puts the part of the picture that differs from the one shown last on the
    // screen.
    void Present();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // A hidden widget gets its resize event only when first shown, yet the
    // timer may draw on it before that; so the image follows the contents size
    // whenever the two differ, and only then is it allocated.
    void FitImageToInterior();
    void HorizontalRun(long long y, long long fromX, long long toX);
    void VerticalRun(long long x, long long fromY, long long toY);

    ColorRef pen_ = DEFAULT_SPECTRUM_PEN;
    ColorRef background_ = DEFAULT_SPECTRUM_BACKGROUND;
    QRgb penPixel_;
    QRgb backgroundPixel_;
    QImage image_;
    QImage shown_;  // the picture last handed to the screen, same size as image_
    // Shows shown_ over the interior where the display allows it; null where
    // the picture goes through paintEvent instead.
    ScreenSurface* surface_ = nullptr;
};

}  // namespace tunvell
