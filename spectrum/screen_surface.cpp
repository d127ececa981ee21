#include "spectrum/screen_surface.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include <QGuiApplication>
#include <QPaintEvent>
#include <QSysInfo>
#include <QWindow>

namespace tunvell {

namespace {

constexpr std::uint32_t RED_MASK = 0xff0000;
constexpr std::uint32_t GREEN_MASK = 0x00ff00;
constexpr std::uint32_t BLUE_MASK = 0x0000ff;
constexpr std::uint8_t PIXEL_DEPTH = 24;
constexpr std::uint8_t PIXEL_BITS = 32;
// The fixed part of a PutImage request, before its data.
constexpr std::size_t PUT_IMAGE_HEADER_BYTES = 24;

xcb_connection_t* QtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// A Format_RGB32 pixel is a native-endian 0xffRRGGBB word; the server must read
// its image bytes in that order and with 32 bits a pixel at depth 24.
bool ServerTakesRgb32(const xcb_setup_t* setup) {
    const bool hostLittle = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const bool serverLittle = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    if (hostLittle != serverLittle) {
        return false;
    }
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem;
         xcb_format_next(&format)) {
        if (format.data->depth == PIXEL_DEPTH) {
            return format.data->bits_per_pixel == PIXEL_BITS;
        }
    }
    return false;
}

bool IsRgbVisual(const xcb_setup_t* setup, xcb_visualid_t id) {
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen)) {
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
             xcb_depth_next(&depth)) {
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
                 xcb_visualtype_next(&visual)) {
                if (visual.data->visual_id == id) {
                    return depth.data->depth == PIXEL_DEPTH &&
                           visual.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR &&
                           visual.data->red_mask == RED_MASK &&
                           visual.data->green_mask == GREEN_MASK &&
                           visual.data->blue_mask == BLUE_MASK;
                }
            }
        }
    }
    return false;
}

}  // namespace

// The connection is Qt's; the graphics context is the surface's own.
struct ScreenSurface::Server {
    explicit Server(xcb_connection_t* connection) : connection(connection) {}
    ~Server() {
        if (gc != 0) {
            xcb_free_gc(connection, gc);
            xcb_flush(connection);
        }
    }
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Checks the window once, with one round trip, and makes the context.
    bool Prepare(xcb_window_t window) {
        if (checked) {
            return gc != 0;
        }
        checked = true;
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, window), nullptr);
        const bool fits =
            attributes != nullptr && IsRgbVisual(xcb_get_setup(connection), attributes->visual);
        free(attributes);  // NOLINT: xcb replies are malloc'ed
        if (!fits) {
            return false;
        }
        gc = xcb_generate_id(connection);
        xcb_create_gc(connection, gc, window, 0, nullptr);
        maxRequestBytes = static_cast<std::size_t>(xcb_get_maximum_request_length(connection)) * 4;
        return true;
    }

    // The window was checked and does not fit.
    bool Refused() const { return checked && gc == 0; }

    xcb_connection_t* connection;
    xcb_gcontext_t gc = 0;
    std::size_t maxRequestBytes = 0;
    bool checked = false;
};

ScreenSurface* ScreenSurface::Create(QWidget* parent, const QImage& picture) {
    xcb_connection_t* connection = QtConnection();
    if (connection == nullptr || xcb_connection_has_error(connection) != 0 ||
        !ServerTakesRgb32(xcb_get_setup(connection))) {
        return nullptr;
    }
    return new ScreenSurface(parent, picture, std::make_unique<Server>(connection));
}

ScreenSurface::ScreenSurface(QWidget* parent, const QImage& picture, std::unique_ptr<Server> server)
    : QWidget(parent), server_(std::move(server)), picture_(picture) {
    // A window of its own, but its ancestors stay in the backing store.
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ScreenSurface::~ScreenSurface() = default;

bool ScreenSurface::Show(const QRect& area) {
    if (server_->Refused()) {
        return false;
    }
    // Nothing is drawn while the window is hidden or minimised: the surface is
    // painted whole when it is exposed again. Only the top level learns that it
    // was unmapped.
    const QWindow* topLevel = window()->windowHandle();
    if (!isVisible() || topLevel == nullptr || !topLevel->isExposed()) {
        return true;
    }
    return Put(area);
}

void ScreenSurface::paintEvent(QPaintEvent* event) {
    Put(event->rect());
}

bool ScreenSurface::Put(QRect area) {
    const auto window = static_cast<xcb_window_t>(winId());
    // The window is checked once; a window that does not fit stays refused.
    if (!server_->Prepare(window)) {
        hide();
        return false;
    }
    area &= picture_.rect();
    if (picture_.format() != QImage::Format_RGB32 || area.isEmpty()) {
        return true;
    }
    xcb_connection_t* connection = server_->connection;
    const auto width = static_cast<std::size_t>(area.width());
    const std::size_t rowBytes = width * sizeof(QRgb);
    const bool wholeRows = area.width() == picture_.width();
    if (!wholeRows) {
        gathered_.resize(
            std::max(gathered_.size(), width * static_cast<std::size_t>(area.height())));
        for (int y = 0; y < area.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(picture_.constScanLine(area.top() + y));
            std::copy_n(row + area.left(), width,
                        gathered_.begin() + static_cast<std::ptrdiff_t>(width) * y);
        }
    }
    // A tall area goes in bands that each fit one request.
    const int bandRows = static_cast<int>(
        std::max<std::size_t>(1, (server_->maxRequestBytes - PUT_IMAGE_HEADER_BYTES) / rowBytes));
    for (int top = 0; top < area.height(); top += bandRows) {
        const int rows = std::min(bandRows, area.height() - top);
        const auto* data = wholeRows
                               ? picture_.constScanLine(area.top() + top)
                               : reinterpret_cast<const uchar*>(
                                     gathered_.data() + width * static_cast<std::size_t>(top));
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, server_->gc,
                      static_cast<std::uint16_t>(area.width()), static_cast<std::uint16_t>(rows),
                      static_cast<std::int16_t>(area.left()),
                      static_cast<std::int16_t>(area.top() + top), 0, PIXEL_DEPTH,
                      static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(rows)), data);
    }
    xcb_flush(connection);
    return true;
}

}  // namespace tunvell
