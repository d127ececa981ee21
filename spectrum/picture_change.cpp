#include "spectrum/picture_change.h"

#include <algorithm>
#include <cstring>

namespace tunvell {

QRect ChangedArea(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format()) {
        return after.rect();
    }
    const int width = after.width();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    int left = width;
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < after.height(); ++y) {
        const auto* old = reinterpret_cast<const QRgb*>(before.constScanLine(y));
        const auto* now = reinterpret_cast<const QRgb*>(after.constScanLine(y));
        if (std::memcmp(old, now, rowBytes) == 0) {
            continue;
        }
        if (top < 0) {
            top = y;
        }
        bottom = y;
        // Only the columns outside the span found so far need looking at.
        const int first = static_cast<int>(std::mismatch(old, old + left, now).first - old);
        left = std::min(left, first);
        int last = width - 1;
        while (last > right && old[last] == now[last]) {
            --last;
        }
        right = std::max(right, last);
    }
    if (top < 0) {
        return {};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace tunvell
