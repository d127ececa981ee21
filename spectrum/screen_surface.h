#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QWidget>

namespace tunvell {

// A native child window that shows a picture by sending it straight to the X
// server. The spectrum changes 33 times a second, and through the widget
// backing store each change costs a paint, a flush and a round trip to the
// server: most of what the player spent while playing. The surface stays out
// of the backing store and answers exposes from the picture it was given.
//
// Only the xcb platform, with a window whose pixels are laid out like
// Format_RGB32, can take this path. Create returns nullptr on any other
// platform and Show returns false for a window of another format; the caller
// then paints through Qt as usual.
class ScreenSurface : public QWidget {
    Q_OBJECT
public:
    // picture is the caller's and must outlive the surface; it is read when
    // shown and on every expose.
    static ScreenSurface* Create(QWidget* parent, const QImage& picture);
    ~ScreenSurface() override;

    // Puts the area of the picture on the screen now. False when this window
    // cannot show it; the surface has then hidden itself for good.
    bool Show(const QRect& area);

    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Server;
    ScreenSurface(QWidget* parent, const QImage& picture, std::unique_ptr<Server> server);
    bool Put(QRect area);

    std::unique_ptr<Server> server_;
    const QImage& picture_;
    // A narrower area is gathered here to go in one request; it grows to the
    // picture's size once and is reused.
    std::vector<QRgb> gathered_;
};

}  // namespace tunvell
