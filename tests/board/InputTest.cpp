#include <gtest/gtest.h>

#include <QByteArray>
#include <array>
#include <utility>

#include "board/BoardFixture.h"
#include "board/Pixels.h"

namespace slatewick {

namespace {

using Input = BoardTest;

// The tray of the 800 x 480 window, below its 432 pixels of board.
const TrayGeometry Tray{800, 480, 432};

QPoint Middle(const Rect& r) {
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
    EXPECT_EQ(hand().tool, slot);
  }
  EXPECT_FALSE(hand().toolDown);
  EXPECT_FALSE(hand().fingerDown);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  EXPECT_EQ(frm.Dust().Count(), 0);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(host.menusShown, 0);
}

TEST_F(Input, SlotEdgesAreRightAndBottomExclusive) {
  const Rect first = Tray.ChalkSlot(0), second = Tray.ChalkSlot(1), third = Tray.ChalkSlot(2);
  const std::pair<QPoint, int> presses[] = {{{first.Right - 1, first.Top}, 0},
                                            {{first.Right, first.Top}, 0},
                                            {{second.Left, second.Bottom - 1}, 1},
                                            {{second.Left, second.Bottom}, 1},
                                            {{third.Left, third.Top - 1}, 1}};
  PickUp(4);
  for (auto [p, expected] : presses) {
    frm.Press(MouseButton::Right, p.x(), p.y());
    EXPECT_EQ(hand().tool, expected) << p.x() << "," << p.y();
  }
}

TEST_F(Input, EraserOnTheTraysFirstRowAlsoStartsAStroke) {
  Stroke(100, 100, 7);
  const QImage drawn = frm.Picture();
  PickUp(EraserSelected);
  random.Clear();
  Press(MouseButton::Left, 600, Tray.EraserHit().Top);
  EXPECT_EQ(hand().tool, EraserSelected);
  EXPECT_TRUE(hand().toolDown);
  EXPECT_EQ(hand().strokeMoves, 7);
  EXPECT_EQ(hand().movesSinceDust, 7);
  EXPECT_EQ(frm.Dust().Count(), 0);
  EXPECT_TRUE(random.asked.empty());
  Move(600, 440);  // over the tray: nothing wiped
  EXPECT_EQ(frm.Picture(), drawn);
  EXPECT_EQ(hand().pointerY, 440);
}

TEST_F(Input, MovesOverTheTrayOnlyFollowThePointer) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  random.fallback = [](int n) { return n - 1; };
  for (int x : {104, 108, 112}) Move(x, 100);
  const QImage before = frm.Picture();
  Move(300, 440);
  EXPECT_EQ(hand().pointerX, 300);
  EXPECT_EQ(hand().pointerY, 440);
  EXPECT_EQ(hand().chalkX, 112);
  EXPECT_EQ(hand().strokeMoves, 3);
  EXPECT_EQ(frm.Picture(), before);
  Move(116, 100);  // back on the board, the stroke goes on
  EXPECT_EQ(hand().strokeMoves, 4);
  EXPECT_NE(Px(115, 100), kBoard);
}

TEST_F(Input, RightPressDuringAStrokeIsIgnored) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Press(MouseButton::Right, 100, 100);
  EXPECT_FALSE(hand().fingerDown);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  const QPoint slot = Middle(Tray.ChalkSlot(2));
  Press(MouseButton::Right, slot.x(), slot.y());  // no pick-up either
  EXPECT_EQ(hand().tool, 0);
}

TEST_F(Input, LeftPressWithTheFingerDownStartsAStroke) {
  Press(MouseButton::Right, 100, 100);
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  EXPECT_TRUE(hand().toolDown);
  EXPECT_TRUE(hand().fingerDown);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
}

TEST_F(Input, LeftPressWithAChalkStartsAStrokeAndDropsDust) {
  PickUp(4);
  EnterTapping();
  ASSERT_EQ(hand().way, ChalkWay::Tapping);
  ASSERT_NE(hand().strokeMoves, 0);
  ASSERT_NE(hand().movesSinceDust, 0);
  random.Clear();
  random.Push({0, 1});  // dust, 5 particles
  Press(MouseButton::Left, 250, 150);
  EXPECT_TRUE(hand().toolDown);
  EXPECT_EQ(hand().strokeMoves, 0);
  EXPECT_EQ(hand().movesSinceDust, 0);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  EXPECT_EQ(hand().chalkX, 250);
  EXPECT_EQ(hand().chalkY, 150);
  ASSERT_EQ(frm.Dust().Count(), 5);
  EXPECT_EQ(frm.Dust().Particles()[4], (DustParticle{250, 150, 4}));
  EXPECT_EQ(random.asked, (std::vector<int>{2, 2}));
  EXPECT_EQ(test.sound.calls.back(), "play " + std::to_string(frm.TapSound().id));
}

TEST_F(Input, LeftPressWithoutShowDustDrawsNothingRandom) {
  settings().ShowDust = false;
  Press(MouseButton::Left, 250, 150);
  EXPECT_TRUE(random.asked.empty());
  EXPECT_EQ(frm.Dust().Count(), 0);
}

TEST_F(Input, LaidWayPressSetsTheEndsWithoutSound) {
  LayChalk(2);
  ASSERT_EQ(hand().chalkAngle, 10);
  keys.Ctrl = true;     // not looked at
  random.Push({0, 0});  // dust with 1/4, 4 particles
  const auto sounds = test.sound.calls.size();
  Press(MouseButton::Left, 300, 200);
  EXPECT_EQ(hand().way, ChalkWay::Laid);
  EXPECT_EQ(Ends(), (std::array{274, 196, 326, 204}));
  EXPECT_EQ(frm.Dust().Count(), 4);
  EXPECT_EQ(random.asked, (std::vector<int>{4, 2}));
  EXPECT_EQ(test.sound.calls.size(), sounds);
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, WaysOfTheChalkChangeByButtonsAndEnter) {
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Laid);
  Press(MouseButton::Middle, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  frm.KeyUp(Key::Enter);
  EXPECT_EQ(hand().way, ChalkWay::Laid);
  Press(MouseButton::Right, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Corner);
  Release(MouseButton::Right, 100, 100);
  EXPECT_FALSE(hand().fingerDown);
  frm.KeyUp(Key::Enter);
  EXPECT_EQ(hand().way, ChalkWay::Laid);
  frm.KeyUp(Key::Enter);
  EXPECT_EQ(hand().way, ChalkWay::Normal);
  frm.KeyUp(Key::RightArrow);
  EXPECT_EQ(hand().way, ChalkWay::Normal);

  PickUp(EraserSelected);
  EnterTapping();
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Tapping);
  Release(MouseButton::Left, 100, 100);
  PickUp(0);
  keys.Ctrl = true;
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  EXPECT_EQ(hand().way, ChalkWay::Corner);
}

TEST_F(Input, WhileTappingMovesOnlyFollowThePointer) {
  random.fallback = [](int n) { return n - 1; };
  Press(MouseButton::Left, 100, 100);
  Move(102, 100);
  Press(MouseButton::Right, 102, 100);
  frm.Tick();
  Release(MouseButton::Right, 102, 100);
  ASSERT_EQ(hand().way, ChalkWay::Tapping);
  ASSERT_TRUE(hand().toolDown);
  const Hand before = hand();
  Move(200, 200);
  EXPECT_TRUE(BoardClean());
  EXPECT_EQ(hand().pointerX, 200);
  EXPECT_EQ(hand().strokeMoves, before.strokeMoves);
  EXPECT_EQ(hand().chalkX, before.chalkX);
}

TEST_F(Input, BothButtonsMoveTheChalkPointOnly) {
  random.Push({1});
  Press(MouseButton::Left, 100, 100);
  Hold(MouseButton::Right, true);
  Move(150, 120);
  EXPECT_EQ(hand().chalkX, 150);
  EXPECT_EQ(hand().chalkY, 120);
  EXPECT_EQ(hand().pointerX, 150);
  EXPECT_EQ(hand().strokeMoves, 0);
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, AClickRunsOneMoveAtTheRelease) {
  PickUp(EraserSelected);
  FillBoard(kWhite);
  Press(MouseButton::Left, 300, 300);
  Release(MouseButton::Left, 320, 300);
  EXPECT_FALSE(hand().toolDown);
  EXPECT_EQ(Px(256, 282), kSmudge);
  EXPECT_EQ(Px(255, 282), kWhite);

  PickUp(0);
  FillBoard(kBoard);
  random.Push({1, 0, 99});
  Press(MouseButton::Left, 100, 100);
  Release(MouseButton::Left, 100, 100);
  EXPECT_EQ(hand().strokeMoves, 1);
  EXPECT_FALSE(hand().toolDown);
  EXPECT_TRUE(BoardClean());
  // After moves the release runs none.
  random.Clear();
  Release(MouseButton::Left, 200, 200);
  EXPECT_TRUE(random.asked.empty());
  EXPECT_EQ(hand().pointerX, 100);
}

TEST_F(Input, ArrowsAndWheelTurnOnlyInLaidWay) {
  frm.KeyDown(Key::RightArrow, false);
  frm.WheelTowardsUser();
  frm.KeyDown(Key::LeftArrow, false);
  frm.WheelAwayFromUser();
  EXPECT_EQ(hand().chalkAngle, 0);

  frm.KeyUp(Key::Enter);
  frm.WheelTowardsUser();
  EXPECT_EQ(hand().chalkAngle, 5);
  frm.KeyDown(Key::RightArrow, false);
  EXPECT_EQ(hand().chalkAngle, 10);
  frm.WheelAwayFromUser();
  frm.KeyDown(Key::LeftArrow, false);
  frm.KeyDown(Key::LeftArrow, false);
  EXPECT_EQ(hand().chalkAngle, -5);
  EXPECT_TRUE(BoardClean());
}

TEST_F(Input, TurningExchangesTheEndsAtTheWraps) {
  LayChalk(18);
  ASSERT_EQ(hand().chalkAngle, 90);
  random.Push({1});
  Press(MouseButton::Left, 300, 200);  // the chalk laid upright: ends above and below
  Release(MouseButton::Left, 300, 200);
  ASSERT_EQ(Ends(), (std::array{300, 174, 300, 226}));
  frm.KeyDown(Key::RightArrow, false);
  EXPECT_EQ(hand().chalkAngle, -85);
  EXPECT_EQ(Ends(), (std::array{300, 226, 300, 174}));
  frm.KeyDown(Key::LeftArrow, false);
  EXPECT_EQ(hand().chalkAngle, -90);
  EXPECT_EQ(Ends(), (std::array{300, 226, 300, 174}));
  frm.WheelAwayFromUser();
  EXPECT_EQ(hand().chalkAngle, 85);
  EXPECT_EQ(Ends(), (std::array{300, 174, 300, 226}));
}

TEST_F(Input, TheWheelTurnsALyingChalkThroughTheMoveHandler) {
  LayChalk();
  random.Push({1});
  Press(MouseButton::Left, 300, 200);
  Move(300, 200);
  const QImage before = frm.Picture();
  frm.WheelTowardsUser();
  EXPECT_EQ(hand().pointerX, 300);
  EXPECT_EQ(hand().pointerY, 200);
  EXPECT_NE(frm.Picture(), before);  // the fan between the old and the new ends
  EXPECT_EQ(hand().strokeMoves, 2);
  EXPECT_EQ(hand().ends.by, 203);
}

TEST_F(Input, ArrowKeysWithTheEraserOnlyTurn) {
  LayChalk();
  random.Push({1});
  Press(MouseButton::Left, 300, 200);  // the chalk's point
  Release(MouseButton::Left, 300, 200);
  PickUp(EraserSelected);
  FillBoard(kWhite);
  Press(MouseButton::Left, 300, 200);
  frm.KeyDown(Key::RightArrow, false);
  EXPECT_EQ(hand().chalkAngle, 5);
  EXPECT_EQ(Px(300, 200), kWhite);
  frm.WheelTowardsUser();  // the wheel goes through the move: the eraser wipes
  EXPECT_EQ(hand().chalkAngle, 10);
  EXPECT_EQ(Px(300, 200), kSmudge);
}

TEST_F(Input, MenuButtonOpensThePopupAndRunsTheCommandAfterThePress) {
  bool penDownWhenLoading = false;
  int loads = 0;
  frm.Commands().load = [&] {
    ++loads;
    penDownWhenLoading = hand().toolDown;
  };
  host.choice = int(MenuItem::Load);
  const QPoint button = Middle(Tray.MenuButtonHit());
  Press(MouseButton::Right, button.x(), button.y());
  EXPECT_EQ(host.menusShown, 1);
  EXPECT_EQ(host.menuCaptions, frm.MenuCaptions());
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(hand().fingerDown);  // below the board: nothing else

  // On the tray's first row the press goes on as on the board before the command runs.
  random.Push({1});
  Press(MouseButton::Left, button.x(), Tray.MenuButtonHit().Top);
  EXPECT_EQ(loads, 2);
  EXPECT_TRUE(penDownWhenLoading);
}

TEST_F(Input, MenuClosedWithoutChoiceOrOnASeparatorDoesNothing) {
  const QPoint button = Middle(Tray.MenuButtonHit());
  int runs = 0;
  BoardCommands& c = frm.Commands();
  c.load = c.store = c.exportPicture = c.settings = c.about = [&] { ++runs; };
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
  const Rect hit = TrayGeometry{1000, 600, 432}.MenuButtonHit();
  frm.Press(MouseButton::Left, hit.Left, hit.Top);
  frm.Press(MouseButton::Left, hit.Right - 2, hit.Bottom - 1);
  EXPECT_EQ(host.menusShown, 2);
  frm.Press(MouseButton::Left, hit.Right, hit.Top);
  frm.Press(MouseButton::Left, hit.Left, hit.Top - 1);
  EXPECT_EQ(host.menusShown, 2);
}

TEST_F(Input, EscClosesTheWindow) {
  frm.KeyDown(Key::Enter, false);
  EXPECT_FALSE(host.closed);
  frm.KeyDown(Key::Escape, false);
  EXPECT_TRUE(host.closed);
}

TEST_F(Input, AltEnterSwitchesToFullScreenAndBack) {
  FakeWindow window;
  frm.Surface().SetHost(&window);
  frm.Surface().StartSurface();
  window.surfaceSize = {640, 400};
  frm.KeyDown(Key::Enter, false);
  EXPECT_FALSE(frm.Surface().fullScreen);

  frm.KeyDown(Key::Enter, true);
  EXPECT_TRUE(frm.Surface().fullScreen);
  EXPECT_TRUE(window.fullScreen);
  EXPECT_FALSE(window.sizeable);
  EXPECT_TRUE(window.cursorHidden);
  EXPECT_EQ(window.surfaceSize, QSize(800, 480));
  EXPECT_TRUE(frm.Surface().SurfaceReady());
  frm.KeyUp(Key::Enter);
  EXPECT_EQ(hand().way, ChalkWay::Laid);  // the release of Enter still toggles

  window.placement = "full";
  frm.KeyDown(Key::Enter, true);
  EXPECT_FALSE(frm.Surface().fullScreen);
  EXPECT_FALSE(window.fullScreen);
  EXPECT_TRUE(window.sizeable);
  EXPECT_EQ(window.placement, QByteArray("centre"));
  EXPECT_TRUE(frm.Surface().SurfaceReady());
  frm.Surface().SetHost(nullptr);
}

TEST_F(Input, AltEnterWithoutAWindowOnlyFlipsTheMode) {
  frm.KeyDown(Key::Enter, true);
  EXPECT_TRUE(frm.Surface().fullScreen);
  frm.KeyDown(Key::Enter, true);
  EXPECT_FALSE(frm.Surface().fullScreen);
}

TEST_F(Input, NothingIsHandledBeforeStartUpHasFinished) {
  Board idle(test.env, &host);
  keys.Left = true;
  idle.Press(MouseButton::Left, 200, 200);
  idle.Move(210, 200);
  idle.Release(MouseButton::Left, 210, 200);
  const QPoint button = Middle(Tray.MenuButtonHit());
  idle.Press(MouseButton::Middle, button.x(), button.y());
  idle.KeyUp(Key::Enter);
  idle.KeyDown(Key::RightArrow, false);
  idle.WheelTowardsUser();
  EXPECT_EQ(idle.HandState(), Hand{});
  EXPECT_EQ(host.menusShown, 0);
  EXPECT_TRUE(idle.Picture().isNull());
  // Esc still closes an idle board's window.
  EXPECT_FALSE(host.closed);
  idle.KeyDown(Key::Escape, false);
  EXPECT_TRUE(host.closed);
}

}  // namespace slatewick
