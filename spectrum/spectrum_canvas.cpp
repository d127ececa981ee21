#include "spectrum/spectrum_canvas.h"

#include <algorithm>

#include <QPainter>

namespace tunvell {

namespace {

QRgb PixelOf(ColorRef color) {
    return ColorFromRef(color).rgb();
}

}  // namespace

SpectrumCanvas::SpectrumCanvas(QWidget* parent)
    : QFrame(parent), penPixel_(PixelOf(pen_)), backgroundPixel_(PixelOf(background_)) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void SpectrumCanvas::SetPenColor(ColorRef color) {
    pen_ = color;
    penPixel_ = PixelOf(color);
}

void SpectrumCanvas::SetBackgroundColor(ColorRef color) {
    background_ = color;
    backgroundPixel_ = PixelOf(color);
}

void SpectrumCanvas::FitImageToInterior() {
    const QSize size = contentsRect().size().expandedTo(QSize(0, 0));
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
        image_.fill(backgroundPixel_);
    }
}

void SpectrumCanvas::Clear() {
    FitImageToInterior();
    image_.fill(backgroundPixel_);
}

void SpectrumCanvas::HorizontalRun(long long y, long long fromX, long long toX) {
    if (y < 0 || y >= image_.height()) {
        return;
    }
    fromX = std::max(fromX, 0LL);
    toX = std::min(toX, static_cast<long long>(image_.width()));
    if (fromX >= toX) {
        return;
    }
    auto* row = reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(y)));
    std::fill(row + fromX, row + toX, penPixel_);
}

void SpectrumCanvas::VerticalRun(long long x, long long fromY, long long toY) {
    if (x < 0 || x >= image_.width()) {
        return;
    }
    fromY = std::max(fromY, 0LL);
    toY = std::min(toY, static_cast<long long>(image_.height()));
    uchar* bits = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    for (long long y = fromY; y < toY; ++y) {
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = penPixel_;
    }
}

void SpectrumCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) {
        return;
    }
    HorizontalRun(top, left, right);
    HorizontalRun(bottom - 1LL, left, right);
    VerticalRun(left, top, bottom);
    VerticalRun(right - 1LL, top, bottom);
}

void SpectrumCanvas::Line(int x1, int y, int x2) {
    if (x2 >= x1) {
        HorizontalRun(y, x1, x2);
    } else {
        HorizontalRun(y, x2 + 1LL, x1 + 1LL);
    }
}

void SpectrumCanvas::paintEvent(QPaintEvent* /*event*/) {
    FitImageToInterior();
    QPainter painter(this);
    drawFrame(&painter);
    painter.drawImage(contentsRect().topLeft(), image_);
}

void SpectrumCanvas::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    FitImageToInterior();
}

}  // namespace tunvell
