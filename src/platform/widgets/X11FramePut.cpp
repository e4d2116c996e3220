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
#include <iterator>

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
    static const bool qtPresents = qEnvironmentVariableIntValue("SLATEWICK_QT_PRESENT") == 1;
    // Only Qt's own X11 platform plugin: others may answer for X11 without a connection.
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && QGuiApplication::platformName() == QLatin1String("xcb") && !qtPresents) {
      connection_ = x11->connection();
      qGuiApp->installNativeEventFilter(this);
    }
  }
  if (!connection_ || !window.windowHandle() || !window.isVisible()) return false;
  const auto id = xcb_window_t(window.winId());
  if (id == window_) return usable_;
  if (gc_) xcb_free_gc(connection_, gc_);
  // Puts to a window gone meanwhile fail and never complete: new pictures for the new window.
  Unshare();
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
  if (pictures_[0].image.size() == size) return true;
  Unshare();
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection_, &xcb_shm_id);
  if (!shm || !shm->present) return shareable_ = false;
  completionType_ = std::uint8_t(shm->first_event + XCB_SHM_COMPLETION);
  for (SharedPicture& picture : pictures_)
    if (!ShareOne(size, picture)) {
      Unshare();
      return shareable_ = false;
    }
  return true;
}

bool X11FramePut::ShareOne(QSize size, SharedPicture& picture) {
  const auto bytes = std::size_t(size.width()) * std::size_t(size.height()) * sizeof(QRgb);
  const int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (id == -1) return false;
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
    return false;
  }
  picture.memory = memory;
  picture.segment = segment;
  picture.busy = false;
  picture.image = QImage(static_cast<uchar*>(memory), size.width(), size.height(),
                         size.width() * int(sizeof(QRgb)), QImage::Format_RGB32);
  return true;
}

void X11FramePut::Unshare() {
  // Safe while the server may still read a picture: it holds the memory itself until it reaches
  // the detach, which comes after the puts.
  for (SharedPicture& picture : pictures_) {
    if (!picture.memory) continue;
    picture.image = QImage();
    if (connection_) xcb_shm_detach(connection_, picture.segment);
    shmdt(picture.memory);
    picture = SharedPicture();
  }
}

bool X11FramePut::Idle() const {
  return std::none_of(std::begin(pictures_), std::end(pictures_),
                      [](const SharedPicture& picture) { return picture.busy; });
}

X11FramePut::SharedPicture* X11FramePut::FreePicture() {
  for (int i = 0; i < 2; ++i) {
    SharedPicture& picture = pictures_[(next_ + i) % 2];
    if (picture.busy) continue;
    next_ = (next_ + i + 1) % 2;
    return &picture;
  }
  return nullptr;
}

bool X11FramePut::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  // The top bit marks an event sent by another client, which no completion is.
  if (!completionType_ || event->response_type != completionType_) return false;
  const auto* done = reinterpret_cast<const xcb_shm_completion_event_t*>(event);
  for (SharedPicture& picture : pictures_)
    if (picture.memory && picture.segment == done->shmseg) {
      picture.busy = false;
      return true;
    }
  return false;  // a picture let go of since, or someone else's
}

void X11FramePut::PutShared(SharedPicture& picture, const QImage& frame,
                            const std::vector<QRect>& rects, QPoint at) {
  for (std::size_t i = 0; i < rects.size(); ++i) {
    const QRect& r = rects[i];
    CopyFrameRect(frame, picture.image, r);
    const std::uint8_t completion = i + 1 == rects.size() ? 1 : 0;
    xcb_shm_put_image(connection_, window_, gc_, std::uint16_t(picture.image.width()),
                      std::uint16_t(picture.image.height()), std::uint16_t(r.left()),
                      std::uint16_t(r.top()), std::uint16_t(r.width()), std::uint16_t(r.height()),
                      std::int16_t(r.left() + at.x()), std::int16_t(r.top() + at.y()), 24,
                      XCB_IMAGE_FORMAT_Z_PIXMAP, completion, picture.segment, 0);
  }
  // The server reads the requests in order: the last one's completion covers them all.
  picture.busy = true;
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
  cuts_.clear();
  for (const QRect& rect : rects)
    if (const QRect r = rect & frame.rect(); !r.isEmpty()) cuts_.push_back(r);
  if (cuts_.empty()) return true;
  SharedPicture* picture = shareable_ && Share(frame.size()) ? FreePicture() : nullptr;
  if (picture) {
    PutShared(*picture, frame, cuts_, at);
    ++sent_.shared;
  } else {
    for (const QRect& r : cuts_) PutInRequests(frame, r, at);
    ++sent_.inRequests;
  }
  xcb_flush(connection_);
  return true;
}

}  // namespace slatewick
