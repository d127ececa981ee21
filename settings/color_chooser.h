#pragma once

#include <QToolButton>

#include "app/core/colorref.h"

namespace tunvell {

// A drop-down colour chooser: a menu of common colours and "其他颜色..." for the
// full colour dialog. It does not show a colour itself (its preview does); only
// its arrow, at the right edge, is meant to be seen beside the preview.
class ColorChooser : public QToolButton {
    Q_OBJECT
public:
    explicit ColorChooser(QWidget* parent = nullptr);

public Q_SLOTS:
    // Reports `color` as chosen; every way of choosing ends here.
    void ChooseColor(tunvell::ColorRef color);

Q_SIGNALS:
    void colorChosen(tunvell::ColorRef color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ChooseInDialog();

    ColorRef lastChosen_ = DEFAULT_SPECTRUM_PEN;
};

}  // namespace tunvell
