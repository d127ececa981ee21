#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include "app/core/colorref.h"

namespace tunvell::testing {

// The interior of the main window's canvas and the height the bars are scaled to.
inline constexpr int INTERIOR_WIDTH = 202;
inline constexpr int INTERIOR_HEIGHT = 43;
inline constexpr int BAR_HEIGHT = 45;

// What one bar should look like, worked out by hand: it covers columns
// left..right-1, its top edge is on row `top` and its cap on row `capRow`.
// Its bottom edge is never seen: with a height of 45 it lies on row 44 or
// lower, below the 43 interior rows.
struct ExpectedBar {
    int left = 0;
    int right = 0;
    int top = 0;
    int capRow = 0;
};

// The interior that shows exactly these bars, drawn pixel by pixel.
inline QImage ExpectedFrame(const QList<ExpectedBar>& bars, ColorRef pen = DEFAULT_SPECTRUM_PEN,
                            ColorRef background = DEFAULT_SPECTRUM_BACKGROUND) {
    QImage frame(INTERIOR_WIDTH, INTERIOR_HEIGHT, QImage::Format_RGB32);
    frame.fill(ColorFromRef(background).rgb());
    const QRgb ink = ColorFromRef(pen).rgb();
    const auto plot = [&frame, ink](int x, int y) {
        if (frame.rect().contains(x, y)) {
            frame.setPixel(x, y, ink);
        }
    };
    for (const ExpectedBar& bar : bars) {
        for (int x = bar.left; x < bar.right; ++x) {
            plot(x, bar.top);
            plot(x, bar.capRow);
        }
        for (int y = bar.top; y < INTERIOR_HEIGHT; ++y) {
            plot(bar.left, y);
            plot(bar.right - 1, y);
        }
    }
    return frame;
}

// Empty when the images are equal, otherwise where and how they differ.
inline QString DescribeDifference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size()) {
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    }
    int differing = 0;
    QString first;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            const QRgb got = actual.pixel(x, y);
            const QRgb want = expected.pixel(x, y);
            if (got != want) {
                if (differing == 0) {
                    first = QStringLiteral("first at (%1,%2): #%3, expected #%4")
                                .arg(x)
                                .arg(y)
                                .arg(got & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                                .arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'));
                }
                ++differing;
            }
        }
    }
    return differing == 0 ? QString()
                          : QStringLiteral("%1 pixels differ; %2").arg(differing).arg(first);
}

}  // namespace tunvell::testing

Q_DECLARE_METATYPE(tunvell::testing::ExpectedBar)
