// Mouse, wheel and keyboard: what the hand does to the board's state.
#include <utility>

#include "board/Board.h"
#include "platform/KeyState.h"
#include "platform/Random.h"

namespace slatewick {

namespace {

void Run(const std::function<void()>& command) {
  if (command) command();
}

}  // namespace

void Board::Press(MouseButton Button, int X, int Y) {
  if (!st.BoardReady) return;
  st.History.Watch(st.BoardBitmap);  // what the hand changes until the last release is one step
  if (st.PenDown) return;

  const int W = ClientWidth(), H = ClientHeight(), B = st.BoardBitmap.height();
  const TrayGeometry tray{W, H, B};
  for (int i = 0; i < 6; ++i)
    if (st.ChalkSlots[std::size_t(i)].Contains(X, Y)) st.SelectedChalk = std::int8_t(i);
  if (tray.EraserHit().Contains(X, Y)) st.SelectedChalk = EraserSelected;

  // The chosen menu command runs once this press has been handled, as a posted command would.
  int command = -1;
  if (tray.MenuButtonHit().Contains(X, Y) && host_) command = host_->PopupMenu(menuCaptions);

  if (Y <= B) PressOnBoard(Button, X, Y);
  if (command >= 0) RunMenuCommand(command);
}

void Board::PressOnBoard(MouseButton Button, int X, int Y) {
  switch (Button) {
    case MouseButton::Left:
      st.PenDown = true;
      if (st.SelectedChalk == EraserSelected) return;
      if (st.ToolMode != LaidWay) {
        PlayTapSound();
        st.DustMoveCount = 0;
        st.StrokeCount = 0;
        st.ToolMode = CurrentKeys().Ctrl ? CornerWay : NormalWay;
        st.ChalkX = X;
        st.ChalkY = Y;
        if (st.Opt.ShowDust && Random(2) == 0) AddDust(Random(2) + 4, X, Y);
      } else {
        st.DustMoveCount = 0;
        st.StrokeCount = 0;
        st.ChalkX = X;
        st.ChalkY = Y;
        const int ox = CosOffset(ChalkHalfLength, st.ChalkAngle);
        const int oy = SinOffset(ChalkHalfLength, st.ChalkAngle);
        st.ChalkBox = {X - ox, Y - oy, X + ox, Y + oy};
        if (st.Opt.ShowDust && Random(4) == 0) AddDust(Random(2) + 4, X, Y);
      }
      return;
    case MouseButton::Right:
      st.FingerDown = true;
      st.ToolMode = CornerWay;
      return;
    case MouseButton::Middle:
      st.ToolMode = st.ToolMode == LaidWay ? NormalWay : LaidWay;
      return;
  }
}

void Board::Move(int X, int Y) {
  if (!st.BoardReady) return;
  const KeyState& keys = CurrentKeys();
  if (Y >= ClientHeight() - TrayHeight) {
    st.PenX = X;
    st.PenY = Y;
    return;
  }
  if (keys.Left && keys.Right) {
    st.ChalkX = X;
    st.ChalkY = Y;
    st.PenX = X;
    st.PenY = Y;
    return;
  }
  if (st.ToolMode == TapState) {
    st.PenX = X;
    st.PenY = Y;
    return;
  }
  if (st.FingerDown) FingerLine(X, Y);
  if (st.PenDown) {
    if (st.SelectedChalk == EraserSelected) {
      EraserStep(X, Y);
    } else if (st.ToolMode == LaidWay) {
      DrawLaidChalk(X, Y);
    } else {
      ChalkStep(X, Y);
      if (!st.PenDown) return;  // the distance limit ended the stroke
    }
  }
  st.PenX = X;
  st.PenY = Y;
}

void Board::Release(MouseButton Button, int X, int Y) {
  if (!st.BoardReady) return;
  switch (Button) {
    case MouseButton::Left:
      if (st.StrokeCount == 0) Move(X, Y);
      st.PenDown = false;
      break;
    case MouseButton::Right:
      st.FingerDown = false;
      break;
    case MouseButton::Middle:
      break;
  }
  const KeyState& keys = CurrentKeys();
  if (!keys.Left && !keys.Right && !keys.Middle) st.History.Record(st.BoardBitmap);
}

void Board::TurnChalk(int step, bool viaWheel) {
  TChalkBox& box = st.ChalkBox;
  const auto exchangeEnds = [&box] {
    std::swap(box.EndAX, box.EndBX);
    std::swap(box.EndAY, box.EndBY);
  };
  if (step > 0) {
    if (st.ChalkAngle >= 90) {
      st.ChalkAngle = -90;
      exchangeEnds();
    }
  } else if (st.ChalkAngle <= -90) {
    st.ChalkAngle = 90;
    exchangeEnds();
  }
  st.ChalkAngle = std::int8_t(st.ChalkAngle + step);

  if (!st.PenDown) return;
  if (viaWheel)
    Move(st.ChalkX, st.ChalkY);
  else if (st.SelectedChalk >= 0)
    DrawLaidChalk(st.ChalkX, st.ChalkY);
}

void Board::WheelTowardsUser() {
  if (st.BoardReady && st.ToolMode == LaidWay) TurnChalk(+5, true);
}

void Board::WheelAwayFromUser() {
  if (st.BoardReady && st.ToolMode == LaidWay) TurnChalk(-5, true);
}

void Board::KeyDown(int Key, bool Alt) {
  if (Key == VK_ESCAPE) {  // closing needs no pictures: it works on an idle board too
    if (host_) host_->Close();
    return;
  }
  if (!st.BoardReady) return;
  switch (Key) {
    case VK_RIGHT:
      if (st.ToolMode == LaidWay) TurnChalk(+5, false);
      return;
    case VK_LEFT:
      if (st.ToolMode == LaidWay) TurnChalk(-5, false);
      return;
    case VK_RETURN:
      break;
    default:
      return;
  }
  if (!Alt) return;

  SurfaceHost* window = DXDraw.Host();
  if (!window) {
    DXDraw.doFullScreen = !DXDraw.doFullScreen;
    return;
  }
  DXDraw.StopSurface();
  if (DXDraw.doFullScreen) {
    DXDraw.RestoreWindowPlacement();
    window->HideSystemCursor();
    window->SetSizeableBorder(true);
    DXDraw.doFullScreen = false;
  } else {
    DXDraw.SaveWindowPlacement();
    window->HideSystemCursor();
    window->SetSizeableBorder(false);
    DXDraw.doFullScreen = true;
    window->SetSurfaceSize(TDXDraw::SurfaceWidth, TDXDraw::SurfaceHeight);
  }
  DXDraw.StartSurface();
}

void Board::KeyUp(int Key) {
  if (!st.BoardReady || Key != VK_RETURN) return;
  st.ToolMode = st.ToolMode == LaidWay ? NormalWay : LaidWay;
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
      Run(onLoad);
      return;
    case MenuItem::Store:
      Run(onStore);
      return;
    case MenuItem::Export:
      Run(onExport);
      return;
    case MenuItem::Settings:
      Run(onSettings);
      return;
    case MenuItem::About:
      Run(onAbout);
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
