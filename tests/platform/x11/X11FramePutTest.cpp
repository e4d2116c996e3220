// Frames sent straight to an X11 window, under a real X server (Xvfb, with or without shared
// memory): after any sequence of partial frames the window holds exactly the last frame, and a
// picture shared with the server is written only once the server has finished with it.
#include <gtest/gtest.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QWidget>
#include <algorithm>
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

// Whether the X server shares memory with its clients (MIT-SHM).
bool ServerSharesMemory() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  const xcb_query_extension_reply_t* shm = xcb_get_extension_data(x11->connection(), &xcb_shm_id);
  return shm && shm->present;
}

// A window with the frame's widget away from its corner, shown, and a random frame for it.
class X11FramePutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(320, 220);
    surface = new QWidget(&window);
    surface->setGeometry(17, 9, 280, 190);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(100);  // Qt's own first paint is done before any frame goes out
    for (int y = 0; y < frame.height(); ++y)
      for (int x = 0; x < frame.width(); ++x) frame.setPixel(x, y, random.generate() | 0xff000000u);
  }

  // Changes rectangles of any size in the frame, some reaching past its edges; returns them.
  std::vector<QRect> ChangeSomeRectangles() {
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
    return changed;
  }

  QImage Shown() const { return WindowPixels(window, surface->geometry()); }

  QWidget window;
  QWidget* surface = nullptr;
  QRandomGenerator random{17};
  QImage frame{280, 190, QImage::Format_RGB32};
};

}  // namespace

TEST_F(X11FramePutTest, TheWindowHoldsTheLastOfAnySequenceOfPartialFrames) {
  X11FramePut put;
  ASSERT_TRUE(put.Put(*surface, frame, {frame.rect()}));
  // Only the changed rectangles are sent.
  for (int step = 0; step < 40; ++step)
    ASSERT_TRUE(put.Put(*surface, frame, ChangeSomeRectangles()));
  EXPECT_EQ(Shown(), frame);
}

// Bursts of frames with no turn of the event loop between them, so that no completion event
// reaches the presenter: each shared picture goes out once, the rest of the burst in requests.
// Once the loop turns, the pictures are free and frames go through them again.
TEST_F(X11FramePutTest, ASharedPictureIsWrittenAgainOnlyAfterTheServerHasFinishedWithIt) {
  X11FramePut put;
  ASSERT_TRUE(put.Put(*surface, frame, {frame.rect()}));
  const bool shares = ServerSharesMemory();
  EXPECT_EQ(put.Sent().shared, shares ? 1 : 0);
  for (int burst = 0; burst < 6; ++burst) {
    if (shares) {
      ASSERT_TRUE(QTest::qWaitFor([&put] { return put.Idle(); }));
    }
    const X11FramePut::Counts before = put.Sent();
    int sent = 0;  // frames with a rectangle inside the frame
    for (int step = 0; step < 15; ++step) {
      const std::vector<QRect> changed = ChangeSomeRectangles();
      sent += std::any_of(changed.begin(), changed.end(),
                          [this](const QRect& r) { return r.intersects(frame.rect()); });
      ASSERT_TRUE(put.Put(*surface, frame, changed));
    }
    const X11FramePut::Counts after = put.Sent();
    EXPECT_EQ(after.shared - before.shared, shares ? 2 : 0) << "burst " << burst;
    EXPECT_EQ(after.inRequests - before.inRequests, sent - (shares ? 2 : 0)) << "burst " << burst;
  }
  EXPECT_EQ(Shown(), frame);
}

// The event loop turning now and then, as between frames: frames go through whichever picture
// is free, in requests otherwise, and the window ends with the last frame.
TEST_F(X11FramePutTest, FramesWhileCompletionsComeNowAndThenEndWithTheLastFrame) {
  X11FramePut put;
  ASSERT_TRUE(put.Put(*surface, frame, {frame.rect()}));
  for (int step = 0; step < 120; ++step) {
    ASSERT_TRUE(put.Put(*surface, frame, ChangeSomeRectangles()));
    if (random.bounded(3) == 0) QCoreApplication::processEvents();
  }
  EXPECT_EQ(Shown(), frame);
  if (ServerSharesMemory()) {
    EXPECT_GT(put.Sent().shared, 2);
  }
}

}  // namespace slatewick

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
