#include "spectrum/spectrum_canvas.h"

#include <QPainter>

namespace tunvell {

// Filled by the spectrum work.
SpectrumCanvas::SpectrumCanvas(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void SpectrumCanvas::SetPenColor(ColorRef color) { pen_ = color; }
void SpectrumCanvas::SetBackgroundColor(ColorRef color) { background_ = color; }
void SpectrumCanvas::Clear() {}
void SpectrumCanvas::Rectangle(int, int, int, int) {}
void SpectrumCanvas::Line(int, int, int) {}
void SpectrumCanvas::paintEvent(QPaintEvent* event) { QFrame::paintEvent(event); }
void SpectrumCanvas::resizeEvent(QResizeEvent* event) { QFrame::resizeEvent(event); }

}  // namespace tunvell
