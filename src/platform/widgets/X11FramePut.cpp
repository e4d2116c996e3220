#include "platform/widgets/X11FramePut.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/DXDraw.h"

namespace slatewick {

namespace {

// Whether RGB32 rows, as they lie in memory, are the window's pixels: depth 24 in 32-bit pixels
// of this machine's byte order, red, green and blue where RGB32 has them. Once per window, one
// round trip.
bool TakesRgb32Rows(xcb_connection_t* c, xcb_window_t window) {
  const xcb_setup_t* setup = xcb_get_setup(c);
  const auto order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? XCB_IMAGE_ORDER_LSB_FIRST
                                                                   : XCB_IMAGE_ORDER_MSB_FIRST;
  if (setup->image_byte_order != order) return false;
  bool wholeWords = false;
  for (auto f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f))
    if (f.data->depth == 24) wholeWords = f.data->bits_per_pixel == 32;
  xcb_get_window_attributes_reply_t* attributes =
      xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr);
  const xcb_visualid_t visual = attributes ? attributes->visual : 0;
  std::free(attributes);
  if (!wholeWords || !visual) return false;
  for (auto screen = xcb_setup_roots_iterator(setup); screen.rem; xcb_screen_next(&screen))
    for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem;
         xcb_depth_next(&depth))
      for (auto v = xcb_depth_visuals_iterator(depth.data); v.rem; xcb_visualtype_next(&v))
        if (v.data->visual_id == visual)
          return depth.data->depth == 24 && v.data->red_mask == 0xff0000 &&
                 v.data->green_mask == 0x00ff00 && v.data->blue_mask == 0x0000ff;
  return false;
}

}  // namespace

X11FramePut::~X11FramePut() {
  // Without the application the connection has gone, and the server has let go of both.
  if (!qGuiApp) connection_ = nullptr;
  Unshare();
  if (connection_ && gc_) xcb_free_gc(connection_, gc_);
}

bool X11FramePut::Ready(const QWidget& window) {
  if (!lookedUp_) {
    lookedUp_ = true;
    // Only Qt's own X11 platform plugin: others may answer for X11 without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && QGuiApplication::platformName() == QLatin1String("xcb"))
      connection_ = x11->connection();
  }
  if (!connection_ || !window.windowHandle() || !window.isVisible()) return false;
  const auto id = xcb_window_t(window.winId());
  if (id == window_) return usable_;
  if (gc_) xcb_free_gc(connection_, gc_);
  window_ = id;
  gc_ = 0;
  usable_ = TakesRgb32Rows(connection_, id);
  if (!usable_) return false;
  gc_ = xcb_generate_id(connection_);
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, id, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  return true;
}

bool X11FramePut::Share(QSize size) {
  if (shared_.size() == size) return true;
  Unshare();
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection_, &xcb_shm_id);
  if (!shm || !shm->present) return shareable_ = false;
  const auto bytes = std::size_t(size.width()) * std::size_t(size.height()) * sizeof(QRgb);
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id == -1) return shareable_ = false;
  void* memory = shmat(id, nullptr, 0);
  const auto segment = xcb_generate_id(connection_);
  xcb_generic_error_t* error =
      memory == reinterpret_cast<void*>(-1)
          ? nullptr
          : xcb_request_check(connection_, xcb_shm_attach_checked(connection_, segment, id, 0));
  // Marked for removal at once: it goes when both sides have let go, however the program ends.
  shmctl(id, IPC_RMID, nullptr);
  if (memory == reinterpret_cast<void*>(-1) || error) {
    std::free(error);  // a server on another machine, for one
    if (memory != reinterpret_cast<void*>(-1)) shmdt(memory);
    return shareable_ = false;
  }
  memory_ = memory;
  segment_ = segment;
  shared_ = QImage(static_cast<uchar*>(memory), size.width(), size.height(),
                   size.width() * int(sizeof(QRgb)), QImage::Format_RGB32);
  return true;
}

void X11FramePut::Unshare() {
  if (!memory_) return;
  shared_ = QImage();
  if (connection_) xcb_shm_detach(connection_, segment_);
  shmdt(memory_);
  memory_ = nullptr;
  segment_ = 0;
}

void X11FramePut::PutInRequests(const QImage& frame, const QRect& r, QPoint at) {
  // The most pixel bytes one request may carry (the length counts 4-byte words).
  const std::size_t most = std::size_t(xcb_get_maximum_request_length(connection_)) * 4 -
                           sizeof(xcb_put_image_request_t);
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

bool X11FramePut::Put(const QWidget& widget, const QImage& frame, const std::vector<QRect>& rects) {
  const QWidget& window = *widget.window();
  if (frame.format() != QImage::Format_RGB32 || widget.devicePixelRatio() != 1 || !Ready(window))
    return false;
  const QPoint at = widget.mapTo(&window, QPoint(0, 0));
  const bool shared = shareable_ && Share(frame.size());
  for (const QRect& rect : rects) {
    const QRect r = rect & frame.rect();
    if (r.isEmpty()) continue;
    if (!shared) {
      PutInRequests(frame, r, at);
      continue;
    }
    CopyFrameRect(frame, shared_, r);
    xcb_shm_put_image(connection_, window_, gc_, std::uint16_t(shared_.width()),
                      std::uint16_t(shared_.height()), std::uint16_t(r.left()),
                      std::uint16_t(r.top()), std::uint16_t(r.width()), std::uint16_t(r.height()),
                      std::int16_t(r.left() + at.x()), std::int16_t(r.top() + at.y()), 24,
                      XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
  }
  xcb_flush(connection_);
  return true;
}

}  // namespace slatewick
