#include "platform/widgets/X11FramePut.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace slatewick {

bool X11FramePut::Ready(const QWidget& window) {
  if (!lookedUp_) {
    lookedUp_ = true;
    // Only Qt's own X11 platform plugin: others may answer for X11 without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && QGuiApplication::platformName() == QLatin1String("xcb"))
      connection_ = x11->connection();
  }
  if (!connection_) return false;
  if (!window.windowHandle() || !window.isVisible()) return false;
  const auto id = xcb_window_t(window.winId());
  if (id == window_) return usable_;
  if (gc_) xcb_free_gc(connection_, gc_);
  window_ = id;
  gc_ = 0;
  // Once per window, the one round trip: RGB32 rows are the pixels of a depth-24 window.
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, id), nullptr);
  usable_ = geometry && geometry->depth == 24;
  std::free(geometry);
  if (!usable_) return false;
  gc_ = xcb_generate_id(connection_);
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  return true;
}

bool X11FramePut::Put(const QWidget& widget, const QImage& frame, const std::vector<QRect>& rects) {
  const QWidget& window = *widget.window();
  if (frame.format() != QImage::Format_RGB32 || widget.devicePixelRatio() != 1 || !Ready(window))
    return false;
  const QPoint at = widget.mapTo(&window, QPoint(0, 0));
  // The most pixel bytes one request may carry (the length counts 4-byte words).
  const std::size_t most = std::size_t(xcb_get_maximum_request_length(connection_)) * 4 -
                           sizeof(xcb_put_image_request_t);
  for (const QRect& rect : rects) {
    const QRect r = rect & frame.rect();
    if (r.isEmpty()) continue;
    const auto line = std::size_t(r.width()) * sizeof(QRgb);
    const int band = int(std::max<std::size_t>(most / line, 1));
    for (int top = r.top(); top <= r.bottom(); top += band) {
      const int height = std::min(band, r.bottom() + 1 - top);
      rows_.resize(qsizetype(line) * height);
      auto* out = reinterpret_cast<std::uint8_t*>(rows_.data());
      for (int y = 0; y < height; ++y)
        std::memcpy(out + line * std::size_t(y),
                    frame.constScanLine(top + y) + std::size_t(r.left()) * sizeof(QRgb), line);
      xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window_, gc_, std::uint16_t(r.width()),
                    std::uint16_t(height), std::int16_t(r.left() + at.x()),
                    std::int16_t(top + at.y()), 0, 24, std::uint32_t(rows_.size()), out);
    }
  }
  xcb_flush(connection_);
  return true;
}

}  // namespace slatewick
