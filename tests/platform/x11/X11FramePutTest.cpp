// Frames sent straight to an X11 window, under a real X server (Xvfb, with or without shared
// memory): after any sequence of partial frames the window holds exactly the last frame.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "platform/widgets/X11FramePut.h"

namespace slatewick {

namespace {

// The window's pixels in `area`, as RGB32 (the unused top byte made opaque).
QImage WindowPixels(const QWidget& window, const QRect& area) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11->connection();
  xcb_get_image_reply_t* reply = xcb_get_image_reply(
      c,
      xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, xcb_window_t(window.winId()),
                    std::int16_t(area.x()), std::int16_t(area.y()), std::uint16_t(area.width()),
                    std::uint16_t(area.height()), ~0u),
      nullptr);
  if (!reply) return {};
  QImage pixels(xcb_get_image_data(reply), area.width(), area.height(),
                area.width() * int(sizeof(QRgb)), QImage::Format_RGB32);
  QImage copy = pixels.copy();
  std::free(reply);
  for (int y = 0; y < copy.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(copy.scanLine(y));
    for (int x = 0; x < copy.width(); ++x) line[x] |= 0xff000000u;
  }
  return copy;
}

}  // namespace

TEST(X11FramePut, TheWindowHoldsTheLastOfAnySequenceOfPartialFrames) {
  QWidget window;
  window.resize(320, 220);
  auto* surface = new QWidget(&window);  // the frame's widget, away from the window's corner
  surface->setGeometry(17, 9, 280, 190);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(100);  // Qt's own first paint is done before any frame goes out

  QRandomGenerator random(17);
  QImage frame(280, 190, QImage::Format_RGB32);
  for (int y = 0; y < frame.height(); ++y)
    for (int x = 0; x < frame.width(); ++x) frame.setPixel(x, y, random.generate() | 0xff000000u);
  X11FramePut put;
  ASSERT_TRUE(put.Put(*surface, frame, {frame.rect()}));
  for (int step = 0; step < 40; ++step) {
    // Rectangles of any size, some reaching past the frame's edges; only they are sent.
    std::vector<QRect> changed;
    for (int i = 0, n = random.bounded(1, 5); i < n; ++i) {
      const QRect r(random.bounded(-20, 280), random.bounded(-20, 190), random.bounded(1, 120),
                    random.bounded(1, 90));
      const QRgb colour = random.generate() | 0xff000000u;
      const QRect cut = r & frame.rect();
      for (int y = cut.top(); y <= cut.bottom(); ++y)
        for (int x = cut.left(); x <= cut.right(); ++x) frame.setPixel(x, y, colour ^ (x * y));
      changed.push_back(r);
    }
    ASSERT_TRUE(put.Put(*surface, frame, changed));
  }
  EXPECT_EQ(WindowPixels(window, surface->geometry()), frame);
}

}  // namespace slatewick

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
