#include "app/core/part_status_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace tunvell {

PartStatusBar::PartStatusBar(QWidget* parent) : QWidget(parent) {}

void PartStatusBar::SetPartWidths(const QVector<int>& widths) {
    widths_ = widths;
    while (texts_.size() < widths_.size()) {
        texts_.append(QString());
    }
    while (texts_.size() > widths_.size()) {
        texts_.removeLast();
    }
    update();
}

void PartStatusBar::SetPartText(int part, const QString& text) {
    if (part < 0 || part >= texts_.size() || texts_[part] == text) {
        return;
    }
    texts_[part] = text;
    update();
}

QString PartStatusBar::PartText(int part) const {
    return part >= 0 && part < texts_.size() ? texts_[part] : QString();
}

void PartStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    int left = 0;
    for (int part = 0; part < widths_.size(); ++part) {
        const QRect cell(left, 2, widths_[part] - 2, height() - 2);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = cell;
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        painter.drawText(cell.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         texts_[part]);
        left += widths_[part];
    }
}

}  // namespace tunvell
