#include "settings/width_slider.h"

#include <algorithm>

namespace tunvell {

WidthSlider::WidthSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    // Every user move passes through an action; the program's own setValue does not.
    connect(this, &QAbstractSlider::actionTriggered, this, &WidthSlider::OnAction);
}

void WidthSlider::SetRememberedWidth(int width) {
    remembered_ = std::clamp(width, 0, LARGEST_REMEMBERED);
    movedByUser_ = false;
    setValue(std::clamp(remembered_, minimum(), maximum()));
}

int WidthSlider::Width() const {
    return movedByUser_ ? sliderPosition() : remembered_;
}

void WidthSlider::OnAction() {
    // The position already holds the action's result; the value follows later.
    movedByUser_ = true;
    Q_EMIT movedByUser(sliderPosition());
}

}  // namespace tunvell
