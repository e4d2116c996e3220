#include <gtest/gtest.h>

#include "platform/FrameSurface.h"

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

}  // namespace slatewick
