#pragma once
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "platform/FrameSurface.h"
#include "platform/widgets/FullScreenSwitch.h"

namespace slatewick {

// Shows the surface's presented frames: at their own size in a window, scaled crisp (nearest
// neighbour) as large as the screen allows in full screen. Qt's device pixel ratio scales both
// crisp too, so pointer positions stay board pixels. It is the surface's host: full screen, border,
// cursor and placement act on its window; the placement is the window's client area.
//
// Frames reach the window through Qt's backing store. Sending the changed rectangles straight to
// the X11 window past it (through two pictures shared with the X server) was measured and left
// out: while drawing under Xvfb it took 3.7 % of a core (2.7-4.7 % over nine runs) against
// 4.2 % (3.7-5.1 %) through the backing store, the X server 4.1 % either way.
class SurfaceWidget : public QWidget, public SurfaceHost {
 public:
  explicit SurfaceWidget(QWidget* parent = nullptr);

  void ShowFrame(const QImage& frame) override;
  // Repaints just the changed rectangles (scaled in full screen).
  void ShowFrameRects(const QImage& frame, const std::vector<QRect>& changed) override;
  void SetFullScreen(bool fullScreen) override;
  void SetSizeableBorder(bool sizeable) override;
  void HideSystemCursor() override;
  void SetSurfaceSize(int width, int height) override;
  QByteArray WindowPlacement() const override;
  void SetWindowPlacement(const QByteArray& placement) override;

  // A widget position in board pixels.
  QPoint ToBoard(const QPointF& position) const;
  bool FullScreen() const { return fullScreen_; }
  // Where the frame is shown in the widget.
  QRect FrameRect() const;
  // The widget pixels that show the frame's rectangle r (and perhaps a few around it).
  QRect ShownRect(const QRect& r) const;
  // The frame it paints (its own copy).
  const QImage& Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  FullScreenSwitch& Switch() const;

  QImage frame_;
  bool fullScreen_ = false;
  mutable QPointer<FullScreenSwitch> switch_;
};

}  // namespace slatewick
