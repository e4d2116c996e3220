#pragma once
#include <QImage>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Canvas.h"

namespace slatewick {

// What the surface needs of the window that shows it (the shell implements it).
class SurfaceHost {
 public:
  virtual ~SurfaceHost() = default;
  virtual void ShowFrame(const QImage& frame) = 0;  // present the back buffer
  // Presents only the changed rectangles of the frame; elsewhere it equals the frame last shown.
  virtual void ShowFrameRects(const QImage& frame, const std::vector<QRect>& changed) {
    (void)changed;
    ShowFrame(frame);
  }
  virtual void SetFullScreen(bool fullScreen) = 0;
  virtual void SetSizeableBorder(bool sizeable) = 0;  // false: no border at all
  virtual void HideSystemCursor() = 0;
  virtual void SetSurfaceSize(int width, int height) = 0;
  virtual QByteArray WindowPlacement() const = 0;
  virtual void SetWindowPlacement(const QByteArray& placement) = 0;
};

// Copies the rectangle r (inside both) from one RGB32 frame to another, row by row.
void CopyFrameRect(const QImage& from, QImage& to, const QRect& r);

// The double-buffered drawing surface: a back buffer of the client area's size (800 x 480 as
// designed) composed each frame and presented to the window. Without a host, presenting only keeps
// the frame (tests, start-up).
class FrameSurface {
 public:
  static constexpr int SurfaceWidth = 800;
  static constexpr int SurfaceHeight = 480;

  explicit FrameSurface(SurfaceHost* host = nullptr);

  bool fullScreen = false;

  void SetHost(SurfaceHost* host) { host_ = host; }
  bool SurfaceReady() const { return started_; }
  // A canvas on the back buffer, open until ReleaseSurfaceCanvas.
  Canvas& SurfaceCanvas();
  void ReleaseSurfaceCanvas();
  QImage& BackBuffer() { return back_; }
  // The back buffer follows the size of the window's client area (at least 1 x 1).
  void FollowClientSize(int width, int height);
  // The frame last presented (what the window shows).
  const QImage& FrontBuffer() const { return front_; }
  // Shows the back buffer. A frame identical to the one on screen is not sent again.
  void PresentFrame();
  // Shows the rectangles of the back buffer (cut to it); only those that differ from the screen
  // are sent. Elsewhere the frame on screen stays as it is.
  void PresentRects(const std::vector<Rect>& rects);
  // Takes the rectangles of the next PresentRects from `picture` (lying at the frame's origin)
  // instead of the back buffer, which is then left as it is there: a layer that fills them alone
  // is shown without being copied twice. Rows the same as on screen are not copied at all. The
  // picture must have the back buffer's format; false (and nothing done) otherwise.
  bool PresentRectsOf(const QImage& picture, const std::vector<Rect>& rects);

  void StopSurface();
  void StartSurface();
  void SaveWindowPlacement();
  void RestoreWindowPlacement();
  SurfaceHost* Host() const { return host_; }

 private:
  SurfaceHost* host_;
  bool started_ = false;
  QImage back_;
  QImage front_;
  std::vector<QRect> changed_;  // rectangles of the front buffer not yet sent
  std::optional<Canvas> canvas_;
  std::optional<QByteArray> placement_;
};

}  // namespace slatewick
