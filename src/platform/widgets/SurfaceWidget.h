#pragma once
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/DXDraw.h"
#include "platform/widgets/FullScreenSwitch.h"
#include "platform/widgets/X11FramePut.h"

namespace slatewick {

// Shows the surface's presented frames: at their own size in a window, scaled crisp (nearest
// neighbour) as large as the screen allows in full screen. Qt's device pixel ratio scales both
// crisp too, so pointer positions stay board pixels. It is the surface's host: full screen, border,
// cursor and placement act on its window; the placement is the window's client area.
class SurfaceWidget : public QWidget, public SurfaceHost {
 public:
  explicit SurfaceWidget(QWidget* parent = nullptr);

  void ShowFrame(const QImage& frame) override;
  // Shows just the changed rectangles: sent straight to an X11 window, repainted elsewhere and
  // in full screen (where they are scaled).
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FullScreenSwitch& Switch() const;
  // Frames went to the window past Qt's backing store: repaints it before Qt next shows it.
  void WatchExposures();

  QImage frame_;
  X11FramePut put_;
  bool backingStale_ = false;  // Qt's backing store lacks frames sent past it
  QPointer<QWindow> watched_;
  bool fullScreen_ = false;
  mutable QPointer<FullScreenSwitch> switch_;
};

}  // namespace slatewick
