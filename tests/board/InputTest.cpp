#include <gtest/gtest.h>

#include <QByteArray>
#include <array>
#include <utility>

#include "board/BoardFixture.h"
#include "board/Pixels.h"
#include "board/Tray.h"

namespace slatewick {

namespace {

using Input = BoardTest;

// The tray of the 800 x 480 window, below its 432 pixels of board.
const TrayGeometry Tray{800, 480, 432};

QPoint Middle(const TRect& r) {
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// The window as the surface sees it: its mode, border, cursor, size and placement.
class FakeWindow : public SurfaceHost {
 public:
  bool fullScreen = false;
  bool sizeable = false;
  bool cursorHidden = false;
  QSize surfaceSize{800, 480};
  QByteArray placement = "centre";

  void ShowFrame(const QImage&) override {}
  void SetFullScreen(bool on) override { fullScreen = on; }
  void SetSizeableBorder(bool on) override { sizeable = on; }
  void HideSystemCursor() override { cursorHidden = true; }
  void SetSurfaceSize(int w, int h) override { surfaceSize = {w, h}; }
  QByteArray WindowPlacement() const override { return placement; }
  void SetWindowPlacement(const QByteArray& p) override { placement = p; }
};

}  // namespace

TEST_F(Input, AnyButtonPicksUpAChalkFromTheTray) {
  const std::pair<MouseButton, int> picks[] = {
      {MouseButton::Right, 3}, {MouseButton::Middle, 5}, {MouseButton::Left, 1}};
  for (auto [button, slot] : picks) {
    const QPoint p = Middle(Tray.ChalkSlot(slot));
    Press(button, p.x(), p.y());
    Release(button, p.x(), p.y());
    EXPECT_EQ(st().SelectedChalk, slot);
  }
  EXPECT_FALSE(st().PenDown);
  EXPECT_FALSE(st().FingerDown);
  EXPECT_EQ(st().ToolMode, NormalWay);
  EXPECT_EQ(st().DustList.Count(), 0);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(host.menusShown, 0);
}

TEST_F(Input, SlotEdgesAreRightAndBottomExclusive) {
  const TRect first = Tray.ChalkSlot(0), second = Tray.ChalkSlot(1), third = Tray.ChalkSlot(2);
  const std::pair<QPoint, int> presses[] = {{{first.Right - 1, first.Top}, 0},
                                            {{first.Right, first.Top}, 0},
                                            {{second.Left, second.Bottom - 1}, 1},
                                            {{second.Left, second.Bottom}, 1},
                                            {{third.Left, third.Top - 1}, 1}};
  st().SelectedChalk = 4;
  for (auto [p, expected] : presses) {
    frm.Press(MouseButton::Right, p.x(), p.y());
    EXPECT_EQ(st().SelectedChalk, expected) << p.x() << "," << p.y();
  }
}

TEST_F(Input, EraserOnTheTraysFirstRowAlsoStartsAStroke) {
  st().StrokeCount = 7;
  st().DustMoveCount = 9;
  Press(MouseButton::Left, 600, Tray.EraserHit().Top);
  EXPECT_EQ(st().SelectedChalk, EraserSelected);
  EXPECT_TRUE(st().PenDown);
  EXPECT_EQ(st().StrokeCount, 7);
  EXPECT_EQ(st().DustMoveCount, 9);
  EXPECT_EQ(st().DustList.Count(), 0);
  EXPECT_TRUE(random.asked.empty());
  Move(600, 440);  // over the tray: nothing wiped
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(st().PenY, 440);
}

TEST_F(Input, MovesOverTheTrayOnlyFollowThePointer) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  random.fallback = [](int n) { return n - 1; };
  for (int x : {104, 108, 112}) Move(x, 100);
  const QImage before = st().BoardBitmap;
  Move(300, 440);
  EXPECT_EQ(st().PenX, 300);
  EXPECT_EQ(st().PenY, 440);
  EXPECT_EQ(st().ChalkX, 112);
  EXPECT_EQ(st().StrokeCount, 3);
  EXPECT_EQ(st().BoardBitmap, before);
  Move(116, 100);  // back on the board, the stroke goes on
  EXPECT_EQ(st().StrokeCount, 4);
  EXPECT_NE(Px(115, 100), kBoard);
}

TEST_F(Input, RightPressDuringAStrokeIsIgnored) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Press(MouseButton::Right, 100, 100);
  EXPECT_FALSE(st().FingerDown);
  EXPECT_EQ(st().ToolMode, NormalWay);
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(st().ToolMode, NormalWay);
  const QPoint slot = Middle(Tray.ChalkSlot(2));
  Press(MouseButton::Right, slot.x(), slot.y());  // no pick-up either
  EXPECT_EQ(st().SelectedChalk, 0);
}

TEST_F(Input, LeftPressWithTheFingerDownStartsAStroke) {
  Press(MouseButton::Right, 100, 100);
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  EXPECT_TRUE(st().PenDown);
  EXPECT_TRUE(st().FingerDown);
  EXPECT_EQ(st().ToolMode, NormalWay);
}

TEST_F(Input, LeftPressWithAChalkStartsAStrokeAndDropsDust) {
  st().SelectedChalk = 4;
  st().StrokeCount = 12;
  st().DustMoveCount = 30;
  st().ToolMode = TapState;
  random.Push({0, 1});  // dust, 5 particles
  Press(MouseButton::Left, 250, 150);
  EXPECT_TRUE(st().PenDown);
  EXPECT_EQ(st().StrokeCount, 0);
  EXPECT_EQ(st().DustMoveCount, 0);
  EXPECT_EQ(st().ToolMode, NormalWay);
  EXPECT_EQ(st().ChalkX, 250);
  EXPECT_EQ(st().ChalkY, 150);
  ASSERT_EQ(st().DustList.Count(), 5);
  EXPECT_EQ(st().DustList[4].ChalkIndex, 4);
  EXPECT_EQ(st().DustList[4].X, 250);
  EXPECT_EQ(st().DustList[4].Y, 150);
  EXPECT_EQ(random.asked, (std::vector<int>{2, 2}));
}

TEST_F(Input, LeftPressWithoutShowDustDrawsNothingRandom) {
  st().Opt.ShowDust = false;
  Press(MouseButton::Left, 250, 150);
  EXPECT_TRUE(random.asked.empty());
  EXPECT_EQ(st().DustList.Count(), 0);
}

TEST_F(Input, LaidWayPressSetsTheEndsWithoutSound) {
  LayChalk(2);
  ASSERT_EQ(st().ChalkAngle, 10);
  CurrentKeys().Ctrl = true;  // not looked at
  random.Push({0, 0});        // dust with 1/4, 4 particles
  Press(MouseButton::Left, 300, 200);
  EXPECT_EQ(st().ToolMode, LaidWay);
  EXPECT_EQ(Ends(), (std::array{274, 196, 326, 204}));
  EXPECT_EQ(st().DustList.Count(), 4);
  EXPECT_EQ(random.asked, (std::vector<int>{4, 2}));
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, ToolModeTransitions) {
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(st().ToolMode, LaidWay);
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(st().ToolMode, NormalWay);
  frm.KeyUp(VK_RETURN);
  EXPECT_EQ(st().ToolMode, LaidWay);
  Press(MouseButton::Right, 100, 100);
  EXPECT_EQ(st().ToolMode, CornerWay);
  Release(MouseButton::Right, 100, 100);
  EXPECT_FALSE(st().FingerDown);
  frm.KeyUp(VK_RETURN);
  EXPECT_EQ(st().ToolMode, LaidWay);
  frm.KeyUp(VK_RETURN);
  EXPECT_EQ(st().ToolMode, NormalWay);
  frm.KeyUp('A');
  EXPECT_EQ(st().ToolMode, NormalWay);

  st().ToolMode = TapState;
  st().SelectedChalk = EraserSelected;
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(st().ToolMode, TapState);
  Release(MouseButton::Left, 100, 100);
  st().SelectedChalk = 0;
  CurrentKeys().Ctrl = true;
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(st().ToolMode, CornerWay);
}

TEST_F(Input, TapStateMovesOnlyFollowThePointer) {
  st().ToolMode = TapState;
  st().PenDown = true;
  st().FingerDown = true;
  Move(200, 200);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(st().PenX, 200);
  EXPECT_EQ(st().StrokeCount, 0);
}

TEST_F(Input, BothButtonsMoveTheChalkPointOnly) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Hold(MouseButton::Right, true);
  Move(150, 120);
  EXPECT_EQ(st().ChalkX, 150);
  EXPECT_EQ(st().ChalkY, 120);
  EXPECT_EQ(st().PenX, 150);
  EXPECT_EQ(st().StrokeCount, 0);
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, AClickRunsOneMoveAtTheRelease) {
  st().SelectedChalk = EraserSelected;
  FillBoard(kWhite);
  Press(MouseButton::Left, 300, 300);
  Release(MouseButton::Left, 320, 300);
  EXPECT_FALSE(st().PenDown);
  EXPECT_EQ(Px(256, 282), kSmudge);
  EXPECT_EQ(Px(255, 282), kWhite);

  st().SelectedChalk = 0;
  FillBoard(kBoard);
  random.Push({1, 0, 99});
  Press(MouseButton::Left, 100, 100);
  Release(MouseButton::Left, 100, 100);
  EXPECT_EQ(st().StrokeCount, 1);
  EXPECT_FALSE(st().PenDown);
  EXPECT_TRUE(BoardClean());
  // After moves the release runs none.
  random.Clear();
  Release(MouseButton::Left, 200, 200);
  EXPECT_TRUE(random.asked.empty());
  EXPECT_EQ(st().PenX, 100);
}

TEST_F(Input, ArrowsAndWheelTurnOnlyInLaidWay) {
  frm.KeyDown(VK_RIGHT, false);
  frm.WheelTowardsUser();
  frm.KeyDown(VK_LEFT, false);
  frm.WheelAwayFromUser();
  EXPECT_EQ(st().ChalkAngle, 0);

  frm.KeyUp(VK_RETURN);
  frm.WheelTowardsUser();
  EXPECT_EQ(st().ChalkAngle, 5);
  frm.KeyDown(VK_RIGHT, false);
  EXPECT_EQ(st().ChalkAngle, 10);
  frm.WheelAwayFromUser();
  frm.KeyDown(VK_LEFT, false);
  frm.KeyDown(VK_LEFT, false);
  EXPECT_EQ(st().ChalkAngle, -5);
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, TurningExchangesTheEndsAtTheWraps) {
  LayChalk();
  st().ChalkAngle = 90;
  st().ChalkBox = {1, 2, 3, 4};
  frm.KeyDown(VK_RIGHT, false);
  EXPECT_EQ(st().ChalkAngle, -85);
  EXPECT_EQ(Ends(), (std::array{3, 4, 1, 2}));
  frm.KeyDown(VK_LEFT, false);
  EXPECT_EQ(st().ChalkAngle, -90);
  EXPECT_EQ(Ends(), (std::array{3, 4, 1, 2}));
  frm.WheelAwayFromUser();
  EXPECT_EQ(st().ChalkAngle, 85);
  EXPECT_EQ(Ends(), (std::array{1, 2, 3, 4}));
}

TEST_F(Input, TheWheelTurnsALyingChalkThroughTheMoveHandler) {
  LayChalk();
  random.Push({1});
  Press(MouseButton::Left, 300, 200);
  Move(300, 200);
  st().PenX = 0;
  const QImage before = st().BoardBitmap;
  frm.WheelTowardsUser();
  EXPECT_EQ(st().PenX, 300);
  EXPECT_EQ(st().PenY, 200);
  EXPECT_NE(st().BoardBitmap, before);  // the fan between the old and the new ends
  EXPECT_EQ(st().StrokeCount, 2);
  EXPECT_EQ(st().ChalkBox.EndBY, 203);
}

TEST_F(Input, ArrowKeysWithTheEraserOnlyTurn) {
  LayChalk();
  st().ChalkX = 300;
  st().ChalkY = 200;
  st().SelectedChalk = EraserSelected;
  FillBoard(kWhite);
  Press(MouseButton::Left, 300, 200);
  frm.KeyDown(VK_RIGHT, false);
  EXPECT_EQ(st().ChalkAngle, 5);
  EXPECT_EQ(Px(300, 200), kWhite);
  frm.WheelTowardsUser();  // the wheel goes through the move: the eraser wipes
  EXPECT_EQ(st().ChalkAngle, 10);
  EXPECT_EQ(Px(300, 200), kSmudge);
}

TEST_F(Input, MenuButtonOpensThePopupAndRunsTheCommandAfterThePress) {
  frm.menuCaptions[int(MenuItem::Load)] = QStringLiteral("Load");
  bool penDownWhenLoading = false;
  int loads = 0;
  frm.onLoad = [&] {
    ++loads;
    penDownWhenLoading = st().PenDown;
  };
  host.choice = int(MenuItem::Load);
  const QPoint button = Middle(Tray.MenuButtonHit());
  Press(MouseButton::Right, button.x(), button.y());
  EXPECT_EQ(host.menusShown, 1);
  EXPECT_EQ(host.menuCaptions, frm.menuCaptions);
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(st().FingerDown);  // below the board: nothing else

  // On the tray's first row the press goes on as on the board before the command runs.
  random.Push({1});
  Press(MouseButton::Left, button.x(), Tray.MenuButtonHit().Top);
  EXPECT_EQ(loads, 2);
  EXPECT_TRUE(penDownWhenLoading);
}

TEST_F(Input, MenuClosedWithoutChoiceOrOnASeparatorDoesNothing) {
  const QPoint button = Middle(Tray.MenuButtonHit());
  int runs = 0;
  frm.onLoad = frm.onStore = frm.onExport = frm.onSettings = frm.onAbout = [&] { ++runs; };
  for (int choice : {-1, int(MenuItem::Separator1), int(MenuItem::Separator2), 99}) {
    host.choice = choice;
    frm.Press(MouseButton::Left, button.x(), button.y());
  }
  EXPECT_EQ(host.menusShown, 4);
  EXPECT_EQ(runs, 0);
  EXPECT_FALSE(host.closed);
  for (MenuItem item : {MenuItem::Store, MenuItem::Export, MenuItem::Settings, MenuItem::About}) {
    host.choice = int(item);
    frm.Press(MouseButton::Left, button.x(), button.y());
  }
  EXPECT_EQ(runs, 4);
}

TEST_F(Input, MenuButtonFollowsTheWindowSize) {
  host.size = {1000, 600};
  const QPoint before = Middle(Tray.MenuButtonHit());
  frm.Press(MouseButton::Left, before.x(), before.y());
  EXPECT_EQ(host.menusShown, 0);
  const TRect hit = TrayGeometry{1000, 600, 432}.MenuButtonHit();
  frm.Press(MouseButton::Left, hit.Left, hit.Top);
  frm.Press(MouseButton::Left, hit.Right - 2, hit.Bottom - 1);
  EXPECT_EQ(host.menusShown, 2);
  frm.Press(MouseButton::Left, hit.Right, hit.Top);
  frm.Press(MouseButton::Left, hit.Left, hit.Top - 1);
  EXPECT_EQ(host.menusShown, 2);
}

TEST_F(Input, EscClosesTheWindow) {
  frm.KeyDown(VK_RETURN, false);
  EXPECT_FALSE(host.closed);
  frm.KeyDown(VK_ESCAPE, false);
  EXPECT_TRUE(host.closed);
}

TEST_F(Input, AltEnterSwitchesToFullScreenAndBack) {
  FakeWindow window;
  frm.DXDraw.SetHost(&window);
  frm.DXDraw.StartSurface();
  window.surfaceSize = {640, 400};
  frm.KeyDown(VK_RETURN, false);
  EXPECT_FALSE(frm.DXDraw.doFullScreen);

  frm.KeyDown(VK_RETURN, true);
  EXPECT_TRUE(frm.DXDraw.doFullScreen);
  EXPECT_TRUE(window.fullScreen);
  EXPECT_FALSE(window.sizeable);
  EXPECT_TRUE(window.cursorHidden);
  EXPECT_EQ(window.surfaceSize, QSize(800, 480));
  EXPECT_TRUE(frm.DXDraw.SurfaceReady());
  frm.KeyUp(VK_RETURN);
  EXPECT_EQ(st().ToolMode, LaidWay);  // the release of Enter still toggles

  window.placement = "full";
  frm.KeyDown(VK_RETURN, true);
  EXPECT_FALSE(frm.DXDraw.doFullScreen);
  EXPECT_FALSE(window.fullScreen);
  EXPECT_TRUE(window.sizeable);
  EXPECT_EQ(window.placement, QByteArray("centre"));
  EXPECT_TRUE(frm.DXDraw.SurfaceReady());
  frm.DXDraw.SetHost(nullptr);
}

TEST_F(Input, AltEnterWithoutAWindowOnlyFlipsTheMode) {
  frm.KeyDown(VK_RETURN, true);
  EXPECT_TRUE(frm.DXDraw.doFullScreen);
  frm.KeyDown(VK_RETURN, true);
  EXPECT_FALSE(frm.DXDraw.doFullScreen);
}

TEST_F(Input, NothingIsHandledBeforeTheGateOpens) {
  st().BoardReady = false;
  st().PenDown = true;
  CurrentKeys().Left = true;
  frm.Move(200, 200);
  frm.Release(MouseButton::Left, 200, 200);
  const QPoint button = Middle(Tray.MenuButtonHit());
  frm.Press(MouseButton::Middle, button.x(), button.y());
  frm.KeyUp(VK_RETURN);
  frm.KeyDown(VK_RIGHT, false);
  frm.WheelTowardsUser();
  EXPECT_TRUE(st().PenDown);
  EXPECT_EQ(st().PenX, 0);
  EXPECT_EQ(st().ToolMode, NormalWay);
  EXPECT_EQ(st().ChalkAngle, 0);
  EXPECT_EQ(host.menusShown, 0);
  EXPECT_TRUE(BoardClean());
  // Esc still closes an idle board's window.
  EXPECT_FALSE(host.closed);
  frm.KeyDown(VK_ESCAPE, false);
  EXPECT_TRUE(host.closed);
}

}  // namespace slatewick
