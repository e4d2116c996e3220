#include <gtest/gtest.h>

#include "board/Pixels.h"
#include "board/StartedBoard.h"
#include "platform/KeyState.h"

namespace slatewick {

namespace {

// A started board whose frames are composed on demand.
class Compose : public StartedBoardTest {
 protected:
  bool TrayBandAt(const QImage& frame, int left, int top, int right, int bottom) {
    return slatewick::TrayBandAt(frame, st().TrayBitmap, left, top, right, bottom);
  }
  void PointerAt(int x, int y) {
    st().PenX = x;
    st().PenY = y;
  }
};

}  // namespace

TEST_F(Compose, HeldChalkComesFromItsOwnCellAndLeavesItsSlotEmpty) {
  st().SelectedChalk = 3;
  PointerAt(300, 200);
  const QImage& frame = Frame();
  EXPECT_TRUE(ShowsMasked(frame, 297, 197, st().HeldChalkBitmap, 120, 0, 40, 40));
  EXPECT_TRUE(TrayBandAt(frame, 284, 450, 336, 461));
  EXPECT_FALSE(TrayBandAt(frame, 32, 450, 84, 461));
  EXPECT_TRUE(ShowsMasked(frame, 520, 402, st().EraserBitmap, 0, 0, 128, 72));
}

TEST_F(Compose, EraserInTheHandFollowsThePointerAndAllPiecesLieInTheTray) {
  st().SelectedChalk = EraserSelected;
  PointerAt(400, 200);
  const QImage& frame = Frame();
  for (int j = 0; j < 6; ++j)
    EXPECT_TRUE(ShowsMasked(frame, 32 + 84 * j, 450, st().ChalkBitmap, 52 * j, 0, 52, 11));
  EXPECT_TRUE(ShowsMasked(frame, 336, 168, st().EraserBitmap, 0, 0, 128, 72));
  // The eraser's place in the tray shows only the tray band below the board.
  EXPECT_TRUE(TrayBandAt(frame, 520, 470, 640, 474));
}

TEST_F(Compose, ShiftHidesPiecesEraserAndMenuButtonButNotDustOrCursor) {
  PointerAt(100, 450);  // over the tray: the hand
  TKona& k = st().DustList.Add();
  k = {50, 432, 1};
  CurrentKeys().Shift = true;
  const QImage& frame = Frame();
  EXPECT_TRUE(TrayBandAt(frame, 116, 450, 168, 461));
  EXPECT_TRUE(TrayBandAt(frame, 520, 432, 640, 474));
  EXPECT_TRUE(TrayBandAt(frame, 728, 432, 792, 480));
  EXPECT_EQ(FromQRgb(frame.pixel(50, 432)), st().ChalkColors[1]) << "dust on the tray's first row";
  EXPECT_TRUE(ShowsMasked(frame, 97, 450, st().HandBitmap, 0, 0, 24, 30));

  CurrentKeys().Shift = false;
  const QImage& shown = Frame();
  EXPECT_TRUE(ShowsMasked(shown, 728, 424, st().GlyphBitmap, 448, 64, 64, 64));
}

TEST_F(Compose, WipingFingerShowsTheHandOffsetFromThePointer) {
  st().FingerDown = true;
  st().ToolMode = CornerWay;
  PointerAt(200, 100);
  EXPECT_TRUE(ShowsMasked(Frame(), 190, 95, st().HandBitmap, 0, 0, 24, 74));
}

TEST_F(Compose, LaidChalkIsTheRotatedSpriteUnlessTapping) {
  st().ToolMode = LaidWay;
  st().SelectedChalk = 0;
  PointerAt(300, 200);
  st().ChalkAngle = 90;
  const QImage& frame = Frame();
  // Standing upright: white along the column through the pointer, board beside it.
  EXPECT_NE(frame.pixel(300, 180), frame.pixel(300, 120));
  EXPECT_EQ(FromQRgb(frame.pixel(300, 120)), kBoard);
  EXPECT_EQ(FromQRgb(frame.pixel(320, 200)), kBoard);
  EXPECT_NE(FromQRgb(frame.pixel(300, 180)), kBoard);
  EXPECT_NE(FromQRgb(frame.pixel(300, 220)), kBoard);
  EXPECT_EQ(FromQRgb(frame.pixel(285, 200)), kBoard);

  CurrentKeys().Left = CurrentKeys().Right = true;  // tapping: the held chalk instead
  const QImage& tapping = Frame();
  EXPECT_TRUE(ShowsMasked(tapping, 297, 197, st().HeldChalkBitmap, 0, 0, 40, 40));
  EXPECT_EQ(FromQRgb(tapping.pixel(300, 180)), kBoard);
}

TEST_F(Compose, DebugOverlayOnlyWhenAsked) {
  const auto whiteIn = [](const QImage& f) {
    int n = 0;
    for (int y = 30; y < 320; ++y)
      for (int x = 60; x < 400; ++x) n += FromQRgb(f.pixel(x, y)) == RGB(255, 255, 255);
    return n;
  };
  PointerAt(600, 300);
  EXPECT_EQ(whiteIn(Frame()), 0);
  st().Opt.ShowDebug = true;
  EXPECT_GT(whiteIn(Frame()), 500);
}

TEST_F(Compose, DustOutsideTheSurfaceLeavesNoPixel) {
  st().DustList.Add() = {-1, 10, 0};
  st().DustList.Add() = {800, 10, 0};
  st().DustList.Add() = {10, 480, 0};
  PointerAt(600, 300);
  const QImage& frame = Frame();
  EXPECT_EQ(FromQRgb(frame.pixel(0, 10)), 0u);  // the board's black edge, untouched
  EXPECT_EQ(FromQRgb(frame.pixel(799, 10)), 0u);
}

TEST_F(Compose, EveryChangeOfTheBoardReachesTheNextFrame) {
  PointerAt(600, 300);
  Frame();
  Canvas(st().BoardBitmap).SetPixel(100, 100, RGB(1, 2, 3));
  EXPECT_EQ(FromQRgb(Frame().pixel(100, 100)), RGB(1, 2, 3));
  MaskedBlit(st().BoardBitmap, 200, 100, 1, 1, st().ChalkBitmap, 10, 5);
  EXPECT_EQ(Frame().pixel(200, 100), st().ChalkBitmap.pixel(10, 5));
  QImage loaded(800, 432, QImage::Format_RGB32);
  loaded.fill(qRgb(9, 9, 9));
  st().BoardBitmap = loaded;
  EXPECT_EQ(FromQRgb(Frame().pixel(400, 200)), RGB(9, 9, 9));
  frm.DXDraw.StopSurface();
  frm.DXDraw.StartSurface();  // a restarted surface gets a whole frame at once
  EXPECT_EQ(FromQRgb(Frame().pixel(400, 200)), RGB(9, 9, 9));
}

// A client area that was made larger (a sizeable window after full screen) gets a frame of its
// own size: the tray band runs across it and the menu button sits at its right end.
TEST_F(Compose, FrameFollowsTheClientSize) {
  host.size = {1000, 500};
  PointerAt(600, 300);
  const QImage& frame = Frame();
  ASSERT_EQ(frame.size(), QSize(1000, 500));
  EXPECT_EQ(frame.pixel(950, 440), st().TrayBitmap.pixel(0, 8));
  EXPECT_TRUE(ShowsMasked(frame, 928, 444, st().GlyphBitmap, 448, 64, 64, 56));
  EXPECT_EQ(FromQRgb(frame.pixel(900, 200)), 0u) << "beside the board the frame stays black";
  frm.SetHost(nullptr);
  EXPECT_EQ(Frame().size(), QSize(800, 480));
}

}  // namespace slatewick
