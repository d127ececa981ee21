#include "spectrum/spectrum_canvas.h"

#include <algorithm>
#include <cstring>

#include <QPaintEvent>
#include <QPainter>

#include "spectrum/picture_change.h"
#include "spectrum/screen_surface.h"

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
    // The frame and the image cover every pixel: nothing beneath needs painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    surface_ = ScreenSurface::Create(this, shown_);
    if (surface_ != nullptr) {
        surface_->setGeometry(contentsRect());
    }
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
    // From the frame width alone: contentsRect() weighs margins the canvas never
    // has, and this runs every tick.
    const int edges = 2 * frameWidth();
    const QSize size = QSize(width() - edges, height() - edges).expandedTo(QSize(0, 0));
    if (image_.size() != size) {
        image_ = QImage(size, QImage::Format_RGB32);
        image_.fill(backgroundPixel_);
        shown_ = QImage();  // forces the next Present to repaint
    }
}

void SpectrumCanvas::Present() {
    const QRect changed = ChangedArea(shown_, image_);
    if (changed.isEmpty()) {
        return;  // a still spectrum (silence, a paused song) costs no drawing
    }
    if (shown_.size() != image_.size()) {
        // A separate buffer, never a shared copy: image_ is written every tick.
        shown_ = QImage(image_.size(), image_.format());
    }
    // Only the changed rows differ; a new buffer comes with the whole picture
    // changed.
    const qsizetype stride = image_.bytesPerLine();
    std::memcpy(shown_.scanLine(changed.top()), image_.constScanLine(changed.top()),
                static_cast<std::size_t>(stride * changed.height()));
    if (surface_ != nullptr) {
        if (surface_->Show(changed)) {
            return;
        }
        surface_ = nullptr;  // hidden for good; Qt paints the picture from now on
    }
    // Painted at once, from the tick: a posted update would cost the event loop
    // another round 33 times a second.
    repaint(changed.translated(contentsRect().topLeft()));
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

void SpectrumCanvas::paintEvent(QPaintEvent* event) {
    FitImageToInterior();
    QPainter painter(this);
    if (!contentsRect().contains(event->rect())) {
        drawFrame(&painter);
    }
    painter.drawImage(contentsRect().topLeft(), image_);
}

void SpectrumCanvas::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    FitImageToInterior();
    if (surface_ != nullptr) {
        surface_->setGeometry(contentsRect());
    }
}

}  // namespace tunvell
