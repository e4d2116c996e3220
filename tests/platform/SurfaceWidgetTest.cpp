#include <gtest/gtest.h>

#include "platform/widgets/SurfaceWidget.h"

namespace slatewick {

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
