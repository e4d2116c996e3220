#pragma once
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <vector>

class QWidget;
struct xcb_connection_t;

namespace slatewick {

// Sends rectangles of a frame straight to the X11 window that shows it: PutImage requests on
// Qt's own connection, with no reply waited for. Qt's backing store would cost a widget repaint,
// a copy into its shared memory and a round trip to the X server on every frame; this costs one
// write. Works only on X11, with a window of depth 24, an RGB32 frame and no device pixel
// scaling; elsewhere Put sends nothing and returns false.
class X11FramePut {
 public:
  // Rectangles in `widget` coordinates; the widget shows `frame` at its own size from its
  // top-left corner, at a fixed place in its top-level window.
  bool Put(const QWidget& widget, const QImage& frame, const std::vector<QRect>& rects);

 private:
  bool Ready(const QWidget& window);

  bool lookedUp_ = false;
  xcb_connection_t* connection_ = nullptr;  // Qt's, when it runs on X11
  unsigned window_ = 0;                     // the X window the graphics context was made for
  unsigned gc_ = 0;
  bool usable_ = false;
  QByteArray rows_;  // one request's rows, packed
};

}  // namespace slatewick
