#pragma once
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <vector>

class QWidget;
struct xcb_connection_t;

namespace slatewick {

// Sends rectangles of a frame straight to the X11 window that shows it, on Qt's own connection,
// with no reply waited for. Qt's backing store would cost a widget repaint and a round trip to
// the X server on every frame. The rectangles go through a picture shared with the X server
// (MIT-SHM), where the server allows it, and in the requests themselves otherwise.
//
// A shared picture is written again while the server may still be reading an earlier frame's
// rectangles from it. Every write is followed by a request to show what it wrote, so the window
// shows only this frame or newer pixels, and the last frame once the server has caught up.
//
// Works only on X11, with a window of depth 24, an RGB32 frame and no device pixel scaling;
// elsewhere Put sends nothing and returns false.
class X11FramePut {
 public:
  X11FramePut() = default;
  X11FramePut(const X11FramePut&) = delete;
  X11FramePut& operator=(const X11FramePut&) = delete;
  ~X11FramePut();

  // Rectangles in `widget` coordinates; the widget shows `frame` at its own size from its
  // top-left corner, at a fixed place in its top-level window.
  bool Put(const QWidget& widget, const QImage& frame, const std::vector<QRect>& rects);

 private:
  bool Ready(const QWidget& window);
  // A picture of `size` shared with the server; false when the server cannot share one.
  bool Share(QSize size);
  void Unshare();
  void PutInRequests(const QImage& frame, const QRect& r, QPoint at);

  bool lookedUp_ = false;
  xcb_connection_t* connection_ = nullptr;  // Qt's, when it runs on X11
  unsigned window_ = 0;                     // the X window the graphics context was made for
  unsigned gc_ = 0;
  bool usable_ = false;
  bool shareable_ = true;  // until the server refuses a shared picture
  QImage shared_;          // over the shared memory, when there is one
  unsigned segment_ = 0;   // the server's name for it
  void* memory_ = nullptr;
  QByteArray rows_;  // one request's rows, packed, when nothing is shared
};

}  // namespace slatewick
