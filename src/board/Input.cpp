// Mouse, wheel and keyboard: what the hand does to the board's state.
#include <utility>

#include "board/Board.h"
#include "board/Tray.h"

namespace slatewick {

namespace {

void Run(const std::function<void()>& command) {
  if (command) command();
}

}  // namespace

void Board::Press(MouseButton button, int x, int y) {
  if (!ready_) return;
  if (replay_) return StopReplay();
  const StoryEvent press{StoryStep::Press, std::uint8_t(button), x, y};
  history_.Watch(picture_);  // what the hand changes until the last release is one step
  if (hand_.toolDown) return Record(press);

  const QSize client = ClientSize();
  const TrayGeometry tray{client.width(), client.height(), picture_.height()};
  for (int i = 0; i < 6; ++i)
    if (chalkSlots_[std::size_t(i)].Contains(x, y)) hand_.tool = i;
  if (tray.EraserHit().Contains(x, y)) hand_.tool = EraserSelected;

  // The chosen menu command runs once this press has been handled, as a posted command would.
  int command = -1;
  if (tray.MenuButtonHit().Contains(x, y) && host_) command = host_->PopupMenu(menuCaptions_);

  // Frame steps ran inside the menu's own loop: the press goes on after them, and is recorded so.
  Record(press);
  if (y <= picture_.height()) PressOnBoard(button, x, y);
  if (command >= 0) RunMenuCommand(command);
}

void Board::PressOnBoard(MouseButton button, int x, int y) {
  Hand& h = hand_;
  Random& random = env_.random;
  switch (button) {
    case MouseButton::Left:
      h.toolDown = true;
      if (h.tool == EraserSelected) return;
      h.movesSinceDust = 0;
      h.strokeMoves = 0;
      h.chalkX = x;
      h.chalkY = y;
      if (h.way != ChalkWay::Laid) {
        PlayTapSound();
        h.way = env_.keys.Ctrl ? ChalkWay::Corner : ChalkWay::Normal;
        if (settings_.ShowDust && random(2) == 0) dust_.Drop(random(2) + 4, x, y, h.tool);
      } else {
        const int ox = CosOffset(ChalkHalfLength, h.chalkAngle);
        const int oy = SinOffset(ChalkHalfLength, h.chalkAngle);
        h.ends = {x - ox, y - oy, x + ox, y + oy};
        if (settings_.ShowDust && random(4) == 0) dust_.Drop(random(2) + 4, x, y, h.tool);
      }
      return;
    case MouseButton::Right:
      h.fingerDown = true;
      h.way = ChalkWay::Corner;
      return;
    case MouseButton::Middle:
      h.way = h.way == ChalkWay::Laid ? ChalkWay::Normal : ChalkWay::Laid;
      return;
  }
}

void Board::Move(int x, int y) {
  if (!ready_ || replay_) return;
  Record({StoryStep::Move, 0, x, y});
  MoveHand(x, y);
}

void Board::MoveHand(int x, int y) {
  const KeyState& keys = env_.keys;
  Hand& h = hand_;
  if (y >= ClientSize().height() - TrayHeight) {
    h.pointerX = x;
    h.pointerY = y;
    return;
  }
  if (keys.Left && keys.Right) {
    h.chalkX = x;
    h.chalkY = y;
    h.pointerX = x;
    h.pointerY = y;
    return;
  }
  if (h.way == ChalkWay::Tapping) {
    h.pointerX = x;
    h.pointerY = y;
    return;
  }
  ChalkTools tools = Tools();
  const qint64 before = picture_.cacheKey();
  if (h.fingerDown) NoteBoardChange(before, tools.FingerLine(x, y));
  if (h.toolDown) {
    const qint64 beforeTool = picture_.cacheKey();
    if (h.tool == EraserSelected) {
      NoteBoardChange(beforeTool, tools.EraserStep(x, y));
    } else if (h.way == ChalkWay::Laid) {
      NoteBoardChange(beforeTool, tools.LaidChalkStep(x, y));
    } else {
      NoteBoardChange(beforeTool, tools.ChalkStep(x, y));
      if (!h.toolDown) return;  // the distance limit ended the stroke
    }
  }
  h.pointerX = x;
  h.pointerY = y;
}

void Board::Release(MouseButton button, int x, int y) {
  if (!ready_ || replay_) return;
  Record({StoryStep::Release, std::uint8_t(button), x, y});
  switch (button) {
    case MouseButton::Left:
      if (hand_.strokeMoves == 0) MoveHand(x, y);
      hand_.toolDown = false;
      break;
    case MouseButton::Right:
      hand_.fingerDown = false;
      break;
    case MouseButton::Middle:
      break;
  }
  const KeyState& keys = env_.keys;
  if (!keys.Left && !keys.Right && !keys.Middle) history_.Record(picture_);
  CountStorySteps();
}

void Board::TurnChalk(int step, bool viaWheel) {
  Hand& h = hand_;
  const auto exchangeEnds = [&h] {
    std::swap(h.ends.ax, h.ends.bx);
    std::swap(h.ends.ay, h.ends.by);
  };
  if (step > 0) {
    if (h.chalkAngle >= 90) {
      h.chalkAngle = -90;
      exchangeEnds();
    }
  } else if (h.chalkAngle <= -90) {
    h.chalkAngle = 90;
    exchangeEnds();
  }
  h.chalkAngle += step;

  if (!h.toolDown) return;
  if (viaWheel) {
    MoveHand(h.chalkX, h.chalkY);
  } else if (h.tool >= 0) {
    const qint64 before = picture_.cacheKey();
    NoteBoardChange(before, Tools().LaidChalkStep(h.chalkX, h.chalkY));
  }
}

void Board::WheelTowardsUser() {
  if (!ready_ || replay_) return;
  Record({StoryStep::WheelTowardsUser});
  if (hand_.way == ChalkWay::Laid) TurnChalk(+5, true);
}

void Board::WheelAwayFromUser() {
  if (!ready_ || replay_) return;
  Record({StoryStep::WheelAwayFromUser});
  if (hand_.way == ChalkWay::Laid) TurnChalk(-5, true);
}

void Board::KeyDown(Key key, bool alt) {
  if (replay_) return StopReplay();  // Esc too: it ends the replay, not the program
  if (key == Key::Escape) {          // closing needs no pictures: it works on an idle board too
    if (host_) host_->Close();
    return;
  }
  if (!ready_) return;
  Record({StoryStep::KeyDown, std::uint8_t(key), alt ? 1 : 0, 0});
  switch (key) {
    case Key::RightArrow:
      if (hand_.way == ChalkWay::Laid) TurnChalk(+5, false);
      return;
    case Key::LeftArrow:
      if (hand_.way == ChalkWay::Laid) TurnChalk(-5, false);
      return;
    case Key::Enter:
      break;
    case Key::Escape:
      return;
  }
  if (!alt) return;

  SurfaceHost* window = surface_.Host();
  if (!window) {
    surface_.fullScreen = !surface_.fullScreen;
    return;
  }
  surface_.StopSurface();
  if (surface_.fullScreen) {
    surface_.RestoreWindowPlacement();
    window->HideSystemCursor();
    window->SetSizeableBorder(true);
    surface_.fullScreen = false;
  } else {
    surface_.SaveWindowPlacement();
    window->HideSystemCursor();
    window->SetSizeableBorder(false);
    surface_.fullScreen = true;
    window->SetSurfaceSize(FrameSurface::SurfaceWidth, FrameSurface::SurfaceHeight);
  }
  surface_.StartSurface();
}

void Board::KeyUp(Key key) {
  if (!ready_ || replay_) return;
  Record({StoryStep::KeyUp, std::uint8_t(key)});
  if (key != Key::Enter) return;
  hand_.way = hand_.way == ChalkWay::Laid ? ChalkWay::Normal : ChalkWay::Laid;
}

void Board::RunMenuCommand(int item) {
  switch (MenuItem(item)) {
    case MenuItem::ClearAll:
      ClearBoard();
      return;
    case MenuItem::WriteDate:
      WriteDate();
      return;
    case MenuItem::Load:
      Run(commands_.load);
      return;
    case MenuItem::Store:
      Run(commands_.store);
      return;
    case MenuItem::Export:
      Run(commands_.exportPicture);
      return;
    case MenuItem::Replay:
      StartReplay();
      return;
    case MenuItem::Video:
      Run(commands_.video);
      return;
    case MenuItem::Settings:
      Run(commands_.settings);
      return;
    case MenuItem::About:
      Run(commands_.about);
      return;
    case MenuItem::Quit:
      Quit();
      return;
    case MenuItem::Separator1:
    case MenuItem::Separator2:
      return;
  }
}

}  // namespace slatewick
