#include <gtest/gtest.h>

#include "board/BoardFixture.h"
#include "board/Compose.h"
#include "board/Pixels.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

// Frames of a scene set by the test: the pictures and the board of a started board, a hand,
// dust and keys of the test's own.
class Compose : public StartedBoardTest {
 protected:
  QImage SceneFrame(QSize client = {800, 480}) {
    return WholeFrame({client, frm.Picture(), frm.Pictures(), h, dust, k, debug, 0});
  }
  bool TrayBandAt(const QImage& frame, int left, int top, int right, int bottom) {
    return slatewick::TrayBandAt(frame, frm.Pictures().tray, left, top, right, bottom);
  }
  void PointerAt(int x, int y) {
    h.pointerX = x;
    h.pointerY = y;
  }
  const BoardPictures& pictures() const { return frm.Pictures(); }

  Hand h;
  DustList dust;
  KeyState k;
  bool debug = false;
};

}  // namespace

TEST_F(Compose, HeldChalkComesFromItsOwnCellAndLeavesItsSlotEmpty) {
  h.tool = 3;
  PointerAt(300, 200);
  const QImage frame = SceneFrame();
  EXPECT_TRUE(ShowsMasked(frame, 297, 197, pictures().heldChalks, 120, 0, 40, 40));
  EXPECT_TRUE(TrayBandAt(frame, 284, 450, 336, 461));
  EXPECT_FALSE(TrayBandAt(frame, 32, 450, 84, 461));
  EXPECT_TRUE(ShowsMasked(frame, 520, 402, pictures().eraser, 0, 0, 128, 72));
}

TEST_F(Compose, EraserInTheHandFollowsThePointerAndAllPiecesLieInTheTray) {
  h.tool = EraserSelected;
  PointerAt(400, 200);
  const QImage frame = SceneFrame();
  for (int j = 0; j < 6; ++j)
    EXPECT_TRUE(ShowsMasked(frame, 32 + 84 * j, 450, pictures().chalks, 52 * j, 0, 52, 11));
  EXPECT_TRUE(ShowsMasked(frame, 336, 168, pictures().eraser, 0, 0, 128, 72));
  // The eraser's place in the tray shows only the tray band below the board.
  EXPECT_TRUE(TrayBandAt(frame, 520, 470, 640, 474));
}

TEST_F(Compose, ShiftHidesPiecesEraserAndMenuButtonButNotDustOrCursor) {
  PointerAt(100, 450);  // over the tray: the hand
  dust.Add({50, 432, 1});
  k.Shift = true;
  const QImage frame = SceneFrame();
  EXPECT_TRUE(TrayBandAt(frame, 116, 450, 168, 461));
  EXPECT_TRUE(TrayBandAt(frame, 520, 432, 640, 474));
  EXPECT_TRUE(TrayBandAt(frame, 728, 432, 792, 480));
  EXPECT_EQ(FromQRgb(frame.pixel(50, 432)), ChalkColours[1]) << "dust on the tray's first row";
  EXPECT_TRUE(ShowsMasked(frame, 97, 450, pictures().hand, 0, 0, 24, 30));

  k.Shift = false;
  EXPECT_TRUE(ShowsMasked(SceneFrame(), 728, 424, pictures().glyphs, 448, 64, 64, 64));
}

TEST_F(Compose, WipingFingerShowsTheHandOffsetFromThePointer) {
  h.fingerDown = true;
  h.way = ChalkWay::Corner;
  PointerAt(200, 100);
  EXPECT_TRUE(ShowsMasked(SceneFrame(), 190, 95, pictures().hand, 0, 0, 24, 74));
}

TEST_F(Compose, LaidChalkIsTheRotatedSpriteUnlessTapping) {
  h.way = ChalkWay::Laid;
  PointerAt(300, 200);
  h.chalkAngle = 90;
  const QImage frame = SceneFrame();
  // Standing upright: white along the column through the pointer, board beside it.
  EXPECT_NE(frame.pixel(300, 180), frame.pixel(300, 120));
  EXPECT_EQ(FromQRgb(frame.pixel(300, 120)), kBoard);
  EXPECT_EQ(FromQRgb(frame.pixel(320, 200)), kBoard);
  EXPECT_NE(FromQRgb(frame.pixel(300, 180)), kBoard);
  EXPECT_NE(FromQRgb(frame.pixel(300, 220)), kBoard);
  EXPECT_EQ(FromQRgb(frame.pixel(285, 200)), kBoard);

  k.Left = k.Right = true;  // tapping: the held chalk instead
  const QImage tapping = SceneFrame();
  EXPECT_TRUE(ShowsMasked(tapping, 297, 197, pictures().heldChalks, 0, 0, 40, 40));
  EXPECT_EQ(FromQRgb(tapping.pixel(300, 180)), kBoard);
}

TEST_F(Compose, DebugOverlayOnlyWhenAsked) {
  const auto whiteIn = [](const QImage& f) {
    int n = 0;
    for (int y = 30; y < 320; ++y)
      for (int x = 60; x < 400; ++x) n += FromQRgb(f.pixel(x, y)) == Rgb(255, 255, 255);
    return n;
  };
  PointerAt(600, 300);
  EXPECT_EQ(whiteIn(SceneFrame()), 0);
  debug = true;
  EXPECT_GT(whiteIn(SceneFrame()), 500);
}

TEST_F(Compose, DustOutsideTheSurfaceLeavesNoPixel) {
  dust.Add({-1, 10, 0});
  dust.Add({800, 10, 0});
  dust.Add({10, 480, 0});
  PointerAt(600, 300);
  const QImage frame = SceneFrame();
  EXPECT_EQ(FromQRgb(frame.pixel(0, 10)), 0u);  // the board's black edge, untouched
  EXPECT_EQ(FromQRgb(frame.pixel(799, 10)), 0u);
}

TEST_F(Compose, EveryChangeOfTheBoardReachesTheNextFrame) {
  Move(600, 300);
  Frame();
  Canvas(frm.BoardPicture()).SetPixel(100, 100, Rgb(1, 2, 3));
  EXPECT_EQ(FromQRgb(Frame().pixel(100, 100)), Rgb(1, 2, 3));
  Canvas(frm.BoardPicture()).MaskedCopy(200, 100, 1, 1, pictures().chalks, 10, 5);
  EXPECT_EQ(Frame().pixel(200, 100), pictures().chalks.pixel(10, 5));
  QImage loaded(800, 432, QImage::Format_RGB32);
  loaded.fill(qRgb(9, 9, 9));
  frm.BoardPicture() = loaded;
  EXPECT_EQ(FromQRgb(Frame().pixel(400, 200)), Rgb(9, 9, 9));
  frm.Surface().StopSurface();
  frm.Surface().StartSurface();  // a restarted surface gets a whole frame at once
  EXPECT_EQ(FromQRgb(Frame().pixel(400, 200)), Rgb(9, 9, 9));
}

// A client area that was made larger (a sizeable window after full screen) gets a frame of its
// own size: the tray band runs across it and the menu button sits at its right end.
TEST_F(Compose, FrameFollowsTheClientSize) {
  host.size = {1000, 500};
  Move(600, 300);
  const QImage& frame = Frame();
  ASSERT_EQ(frame.size(), QSize(1000, 500));
  EXPECT_EQ(frame.pixel(950, 440), pictures().tray.pixel(0, 8));
  EXPECT_TRUE(ShowsMasked(frame, 928, 444, pictures().glyphs, 448, 64, 64, 56));
  EXPECT_EQ(FromQRgb(frame.pixel(900, 200)), 0u) << "beside the board the frame stays black";
}

}  // namespace slatewick
