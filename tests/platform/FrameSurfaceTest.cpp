// The frame surface and the widget that shows its frames: what is presented, and how it lands
// in the window, windowed and in full screen.
#include <gtest/gtest.h>

#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QTest>

#include "platform/FrameSurface.h"
#include "platform/widgets/SurfaceWidget.h"

namespace slatewick {

namespace {

// Records what the surface shows.
struct RecordingHost : SurfaceHost {
  int frames = 0;
  QImage last;
  bool fullScreen = false;
  QByteArray placement = "windowed";
  void ShowFrame(const QImage& frame) override {
    ++frames;
    last = frame.copy();
  }
  void SetFullScreen(bool on) override { fullScreen = on; }
  void SetSizeableBorder(bool) override {}
  void HideSystemCursor() override {}
  void SetSurfaceSize(int, int) override {}
  QByteArray WindowPlacement() const override { return placement; }
  void SetWindowPlacement(const QByteArray& p) override { placement = p; }
};

}  // namespace

TEST(Surface, PresentsChangedFramesOnceAndNothingWhenStopped) {
  RecordingHost host;
  FrameSurface draw(&host);
  draw.StartSurface();
  ASSERT_TRUE(draw.SurfaceReady());
  EXPECT_EQ(draw.BackBuffer().size(), QSize(800, 480));

  draw.SurfaceCanvas().SetPixel(5, 6, Rgb(10, 20, 30));
  draw.ReleaseSurfaceCanvas();
  draw.PresentFrame();
  draw.PresentFrame();  // identical: not sent again
  EXPECT_EQ(host.frames, 1);
  EXPECT_EQ(FromQRgb(host.last.pixel(5, 6)), Rgb(10, 20, 30));
  EXPECT_EQ(FromQRgb(draw.FrontBuffer().pixel(5, 6)), Rgb(10, 20, 30));

  draw.StopSurface();
  EXPECT_FALSE(draw.SurfaceReady());
  draw.SurfaceCanvas().SetPixel(7, 7, Rgb(255, 0, 0));
  draw.ReleaseSurfaceCanvas();
  draw.PresentFrame();
  EXPECT_EQ(host.frames, 1);
}

TEST(Surface, FullScreenSwitchAndPlacementRoundTrip) {
  RecordingHost host;
  FrameSurface draw(&host);
  draw.StartSurface();
  draw.SaveWindowPlacement();
  host.placement = "fullscreen";
  draw.StopSurface();
  draw.fullScreen = true;
  draw.StartSurface();
  EXPECT_TRUE(host.fullScreen);

  draw.StopSurface();
  draw.RestoreWindowPlacement();
  draw.fullScreen = false;
  draw.StartSurface();
  EXPECT_FALSE(host.fullScreen);
  EXPECT_EQ(host.placement, "windowed");

  host.placement = "moved";
  draw.RestoreWindowPlacement();  // forgotten after the first restore
  EXPECT_EQ(host.placement, "moved");
}

namespace {

QImage Frame800x480() {
  QImage frame(800, 480, QImage::Format_RGB32);
  frame.fill(Qt::darkGreen);
  return frame;
}

}  // namespace

TEST(SurfaceWidget, WindowedFramesAreShownOneToOne) {
  SurfaceWidget widget;
  widget.resize(800, 480);
  widget.ShowFrame(Frame800x480());
  EXPECT_EQ(widget.FrameRect(), QRect(0, 0, 800, 480));
  EXPECT_EQ(widget.ToBoard({123.6, 45.2}), QPoint(123, 45));
  EXPECT_EQ(widget.ToBoard({-0.5, 479.9}), QPoint(-1, 479)) << "a drag outside keeps reporting";
}

TEST(SurfaceWidget, FullScreenKeepsTheFramesProportionsAndMapsPointsBack) {
  SurfaceWidget widget;
  widget.SetFullScreen(true);
  widget.resize(1024, 768);
  widget.ShowFrame(Frame800x480());
  const QRect shown = widget.FrameRect();
  EXPECT_EQ(shown.width(), 1024);
  EXPECT_EQ(shown.height(), 614);
  EXPECT_EQ(shown.top(), 77);
  EXPECT_EQ(widget.ToBoard(QPointF(shown.topLeft())), QPoint(0, 0));
  EXPECT_EQ(widget.ToBoard({512, 77 + 307}), QPoint(400, 240));
  EXPECT_EQ(widget.ToBoard({1023.9, 77 + 613.9}), QPoint(799, 479));
  widget.SetFullScreen(false);
}

// In full screen, where the frame is scaled, frames that change a few rectangles leave the window
// as a whole repaint of the last frame would.
TEST(SurfaceWidget, PartialFramesInFullScreenLeaveTheWindowAsAWholeRepaint) {
  SurfaceWidget widget;
  widget.SetFullScreen(true);
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  widget.resize(800, 600);                       // the whole screen here
  QImage frame(640, 384, QImage::Format_RGB32);  // scaled by 1.25: some rows and columns twice
  frame.fill(Qt::darkGreen);
  widget.ShowFrame(frame);
  QRandomGenerator random(5);
  for (int step = 0; step < 30; ++step) {
    const QRect r(random.bounded(-10, 640), random.bounded(-10, 384), random.bounded(1, 60),
                  random.bounded(1, 40));
    const QRect cut = r & frame.rect();
    for (int y = cut.top(); y <= cut.bottom(); ++y)
      for (int x = cut.left(); x <= cut.right(); ++x)
        frame.setPixel(x, y, random.generate() | 0xff000000u);
    widget.ShowFrameRects(frame, {r});
  }
  const auto shown = [&widget] {
    return widget.screen()->grabWindow(widget.winId(), 0, 0, 800, 600).toImage();
  };
  const QImage partial = shown();
  ASSERT_EQ(partial.size(), QSize(800, 600));
  widget.repaint();
  EXPECT_EQ(partial, shown());
  widget.SetFullScreen(false);
}

// A partial present changes the widget's picture inside the sent rectangles and nowhere else,
// and does not share the sender's buffer.
TEST(SurfaceWidget, ChangedRectanglesReplaceOnlyTheirPixels) {
  SurfaceWidget widget;
  widget.resize(800, 480);
  QImage sent = Frame800x480();
  widget.ShowFrame(sent);
  sent.fill(Qt::white);
  widget.ShowFrameRects(sent, {QRect(10, 20, 30, 40)});
  const QImage& shown = widget.Frame();
  EXPECT_EQ(shown.pixel(10, 20), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(39, 59), qRgb(255, 255, 255));
  EXPECT_EQ(shown.pixel(40, 59), QColor(Qt::darkGreen).rgb());
  EXPECT_EQ(shown.pixel(10, 60), QColor(Qt::darkGreen).rgb());
  EXPECT_NE(shown.constBits(), sent.constBits());
}

}  // namespace slatewick
