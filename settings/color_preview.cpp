#include "settings/color_preview.h"

#include <QMouseEvent>
#include <QPainter>

namespace tunvell {

ColorPreview::ColorPreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setCursor(Qt::PointingHandCursor);
}

void ColorPreview::SetColor(ColorRef color) {
    color_ = color;
    update();
}

void ColorPreview::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ColorFromRef(color_));
    }
    QFrame::paintEvent(event);
}

void ColorPreview::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
    }
}

}  // namespace tunvell
