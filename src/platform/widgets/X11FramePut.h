#pragma once
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

class QWidget;
struct xcb_connection_t;

namespace slatewick {

// Sends rectangles of a frame straight to the X11 window that shows it, on Qt's own connection,
// with no reply waited for. Qt's backing store would cost a widget repaint and a round trip to
// the X server on every frame.
//
// Where the server shares memory (MIT-SHM), a frame's rectangles are copied into one of two
// pictures shared with it, taken in turn, and sent as one put request each; the frame's last
// request asks for the server's completion event. A picture is written again only after that
// event has come, so the server never reads a picture while it is written. The events come on
// Qt's connection: a native event filter takes them as Qt's event loop turns. When neither
// picture is free, the frame goes in the requests themselves (a copy into the request, written
// to the socket) rather than waiting: waiting would mean turning Qt's event loop inside the frame
// step, and the completion comes within a turn of it anyway. Where the server shares no memory,
// every frame goes in the requests.
//
// Works only on X11, with a window of depth 24, an RGB32 frame and no device pixel scaling;
// elsewhere, and when the environment sets SLATEWICK_QT_PRESENT=1 (read once, for comparing
// figures with Qt's own path), Put sends nothing and returns false.
//
// Figure (bench/desktop_figures.sh presenters: Xvfb, openbox, 15 s of drawing a run, nine runs
// each way taken in turn): the program used 3.7 % of a core while drawing (2.7-4.7 %) with frames
// sent here, 4.2 % (3.7-5.1 %) through Qt's backing store; the X server 4.1 % either way.
class X11FramePut : private QAbstractNativeEventFilter {
 public:
  X11FramePut() = default;
  X11FramePut(const X11FramePut&) = delete;
  X11FramePut& operator=(const X11FramePut&) = delete;
  ~X11FramePut() override;

  // Rectangles in `widget` coordinates; the widget shows `frame` at its own size from its
  // top-left corner, at a fixed place in its top-level window.
  bool Put(const QWidget& widget, const QImage& frame, const std::vector<QRect>& rects);

  // Frames sent so far through a shared picture and in the requests themselves.
  struct Counts {
    int shared = 0;
    int inRequests = 0;
  };
  Counts Sent() const { return sent_; }
  // Whether no shared picture waits for the server's completion event.
  bool Idle() const;

 private:
  struct SharedPicture {
    QImage image;               // over the shared memory
    std::uint32_t segment = 0;  // the server's name for it
    void* memory = nullptr;
    bool busy = false;  // the server may still read it: no completion event since the last put
  };

  bool Ready(const QWidget& window);
  // Two pictures of `size` shared with the server; false when the server cannot share them.
  bool Share(QSize size);
  bool ShareOne(QSize size, SharedPicture& picture);
  void Unshare();
  // A shared picture the server has finished with, or none.
  SharedPicture* FreePicture();
  void PutShared(SharedPicture& picture, const QImage& frame, const std::vector<QRect>& rects,
                 QPoint at);
  void PutInRequests(const QImage& frame, const QRect& r, QPoint at);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  bool lookedUp_ = false;
  xcb_connection_t* connection_ = nullptr;  // Qt's, when it runs on X11
  unsigned window_ = 0;                     // the X window the graphics context was made for
  unsigned gc_ = 0;
  bool usable_ = false;
  bool shareable_ = true;            // until the server refuses a shared picture
  std::uint8_t completionType_ = 0;  // the response type of MIT-SHM's completion event
  SharedPicture pictures_[2];
  int next_ = 0;             // the picture whose turn it is
  std::vector<QRect> cuts_;  // this frame's rectangles, cut to it
  QByteArray rows_;          // one request's rows, packed, when nothing is shared
  Counts sent_;
};

}  // namespace slatewick
