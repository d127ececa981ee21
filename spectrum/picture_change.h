#pragma once

#include <QImage>
#include <QRect>

namespace tunvell {

// The smallest rectangle holding every pixel in which two pictures of one
// 32-bit format differ: empty when they are alike, the whole of after when
// their sizes differ. Only that part has to reach the screen.
QRect ChangedArea(const QImage& before, const QImage& after);

}  // namespace tunvell
