#include "settings/color_chooser.h"

#include <QColorDialog>
#include <QMenu>
#include <QPixmap>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace tunvell {

namespace {

struct NamedColor {
    const char16_t* name;
    ColorRef color;
};

constexpr NamedColor COMMON_COLORS[] = {
    {u"白色", 0xFFFFFF}, {u"黑色", 0x000000},
    {u"红色", 0x0000FF}, {u"绿色", 0x00FF00},
    {u"蓝色", 0xFF0000}, {u"黄色", 0x00FFFF},
    {u"灰色", 0x808080}, {u"默认背景蓝", DEFAULT_SPECTRUM_BACKGROUND},
};

// Width of the strip at the right edge that holds the arrow.
constexpr int ARROW_STRIP = 20;

QIcon Swatch(ColorRef color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(ColorFromRef(color));
    return QIcon(pixmap);
}

}  // namespace

ColorChooser::ColorChooser(QWidget* parent) : QToolButton(parent) {
    setPopupMode(QToolButton::InstantPopup);
    setFocusPolicy(Qt::TabFocus);
    auto* menu = new QMenu(this);
    for (const NamedColor& entry : COMMON_COLORS) {
        const ColorRef color = entry.color;
        QAction* action = menu->addAction(Swatch(color), QString::fromUtf16(entry.name));
        connect(action, &QAction::triggered, this, [this, color] { ChooseColor(color); });
    }
    menu->addSeparator();
    QAction* more = menu->addAction(QStringLiteral("其他颜色..."));
    connect(more, &QAction::triggered, this, &ColorChooser::ChooseInDialog);
    setMenu(menu);
}

void ColorChooser::ChooseColor(ColorRef color) {
    lastChosen_ = color;
    Q_EMIT colorChosen(color);
}

void ColorChooser::ChooseInDialog() {
    const QColor color =
        QColorDialog::getColor(ColorFromRef(lastChosen_), window(), QStringLiteral("选择颜色"));
    if (color.isValid()) {
        ChooseColor(RefFromColor(color));
    }
}

void ColorChooser::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    // The style would put its small menu mark in the corner under the preview;
    // draw a plain arrow in the visible strip instead.
    option.features &= ~(QStyleOptionToolButton::HasMenu | QStyleOptionToolButton::MenuButtonPopup);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    QStyleOption arrow;
    arrow.initFrom(this);
    const int strip = std::min(ARROW_STRIP, width());
    arrow.rect = QRect(width() - strip, 0, strip, height()).adjusted(4, 6, -4, -6);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
}

}  // namespace tunvell
