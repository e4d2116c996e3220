#include <algorithm>
#include <cmath>

#include "board/Board.h"
#include "platform/KeyState.h"

namespace slatewick {

namespace {

const QString kFrameRate = QStringLiteral("FPS: ");
const TextStyle kOverlayFont{QStringLiteral("Arial"), 30, RGB(255, 255, 255)};

struct OverlayLine {
  int y;
  QString text;
};

// The debug overlay's lines, drawn in order at x = 30.
std::vector<OverlayLine> OverlayLines(const BoardState& st, int fps) {
  const auto n = [](long long v) { return QString::number(v); };
  std::vector<OverlayLine> lines{
      {30, kFrameRate + n(fps)},
      {70, QStringLiteral("X:") + n(st.ChalkX) + QStringLiteral("\u3000Y:") + n(st.ChalkY)},
      {110, QStringLiteral("Angle:") + n(st.ChalkAngle)},
      {150, QStringLiteral("KonaCnt:") + n(st.DustMoveCount)},
      {190, QStringLiteral("MouseCnt:") + n(st.StrokeCount)},
      {230, QStringLiteral("Kona:") + n(st.DustList.Count())},
      {270, QStringLiteral("L:   R: ")}};
  if (st.PenDown) lines.push_back({270, QStringLiteral("  *")});
  if (st.FingerDown) lines.push_back({270, QStringLiteral("        *")});
  return lines;
}

// The picture under the pointer: the hand, the held chalk or the eraser, or none.
struct CursorSprite {
  TRect box;
  const QImage* picture = nullptr;
  int srcX = 0;
};

CursorSprite Cursor(const BoardState& st, int H, bool bothButtons) {
  const int x = st.PenX, y = st.PenY;
  if (y >= H - TrayHeight) return {{x - 3, y, x + 21, y + 74}, &st.HandBitmap, 0};
  if (st.SelectedChalk >= 0 && (bothButtons || (!st.FingerDown && st.ToolMode != LaidWay)))
    return {{x - 3, y - 3, x + 37, y + 37}, &st.HeldChalkBitmap, 40 * st.SelectedChalk};
  if (st.FingerDown && !bothButtons && st.ToolMode != TapState)
    return {{x - 10, y - 5, x + 14, y + 69}, &st.HandBitmap, 0};
  if (st.SelectedChalk == EraserSelected)
    return {{x - 64, y - 32, x + 64, y + 40}, &st.EraserBitmap, 0};
  return {};
}

// The top of the tray and of the pieces lying in it (the eraser and the menu button reach a little
// above the tray).
int TrayPiecesTop(const TrayGeometry& tray, int B) {
  return std::min({B, tray.EraserDrawn().Top, tray.MenuButtonDrawn().Top});
}

bool LaidChalkShown(const BoardState& st, int H, bool bothButtons) {
  return st.ToolMode == LaidWay && st.PenY < H - TrayHeight && !bothButtons;
}

}  // namespace

Board::FrameInputs Board::CurrentFrameInputs() const {
  const KeyState& keys = CurrentKeys();
  return {st.BoardBitmap.cacheKey(),
          ClientWidth(),
          ClientHeight(),
          st.PenX,
          st.PenY,
          st.ChalkX,
          st.ChalkY,
          st.StrokeCount,
          Timer.FramesPerSecond(),
          st.SelectedChalk,
          st.ToolMode,
          st.ChalkAngle,
          st.DustMoveCount,
          keys.Shift,
          keys.Left,
          keys.Right,
          st.PenDown,
          st.FingerDown,
          st.Opt.ShowDebug};
}

Board::FrameLook Board::CurrentLook() const {
  return {ClientWidth(),
          ClientHeight(),
          st.BoardBitmap.width(),
          st.BoardBitmap.height(),
          st.SelectedChalk,
          CurrentKeys().Shift,
          st.Opt.ShowDebug,
          {st.TrayBitmap.cacheKey(), st.ChalkBitmap.cacheKey(), st.EraserBitmap.cacheKey(),
           st.GlyphBitmap.cacheKey(), st.HeldChalkBitmap.cacheKey(), st.HandBitmap.cacheKey()},
          st.ChalkColors};
}

void Board::NoteBoardChange(qint64 keyBefore, const TRect& r) {
  if (keyBefore != boardKnown_) return;  // an earlier change went untold: the whole board
  boardChanged_.Mark(r);
  boardKnown_ = st.BoardBitmap.cacheKey();
}

void Board::DrawDust(QImage& frame) const {
  std::array<QRgb, 6> colours;
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = ToQRgb(st.ChalkColors[i]);
  const auto width = unsigned(frame.width()), height = unsigned(frame.height());
  const auto stride = std::size_t(frame.bytesPerLine()) / sizeof(QRgb);
  auto* pixels = reinterpret_cast<QRgb*>(frame.bits());
  for (const TKona& k : st.DustList.Items())
    if (unsigned(k.X) < width && unsigned(k.Y) < height)
      pixels[std::size_t(k.Y) * stride + unsigned(k.X)] = colours[std::size_t(k.ChalkIndex) % 6];
}

void Board::MarkMovingParts(FrameTiles& tiles) const {
  const int H = ClientHeight();
  const bool bothButtons = CurrentKeys().Left && CurrentKeys().Right;
  const CursorSprite cursor = Cursor(st, H, bothButtons);
  if (cursor.picture) tiles.Mark(cursor.box);
  if (LaidChalkShown(st, H, bothButtons))
    tiles.Mark({st.PenX - 30, st.PenY - 30, st.PenX + 31, st.PenY + 31});
  for (const TKona& k : st.DustList.Items()) tiles.MarkPoint(k.X, k.Y);
  if (st.Opt.ShowDebug) {
    QImage none;
    Canvas measure(none);
    measure.font = kOverlayFont;
    for (const OverlayLine& line : OverlayLines(st, Timer.FramesPerSecond()))
      tiles.Mark(measure.TextBox(30, line.y, line.text));
  }
}

void Board::ComposeFrame(QImage& frame, const std::vector<TRect>& rects) const {
  const int W = ClientWidth();
  const int H = ClientHeight();
  const int B = st.BoardBitmap.height();
  const KeyState& keys = CurrentKeys();
  const bool bothButtons = keys.Left && keys.Right;

  // The board, the tray below it and black beyond both; then the dust.
  Canvas c(frame);
  c.brush.Color = 0;
  for (const TRect& r : rects) {
    c.SetClip(r);
    c.CopyRect(0, 0, st.BoardBitmap.width(), B, st.BoardBitmap, 0, 0);
    c.StretchDraw({0, B, W, B + TrayHeight}, st.TrayBitmap, {0, 0, 1, TrayHeight});
    c.FillRect({st.BoardBitmap.width(), 0, frame.width(), B});
    c.FillRect({0, B + TrayHeight, frame.width(), frame.height()});
  }
  DrawDust(frame);

  // The pieces lying in the tray.
  if (!keys.Shift) {
    const TrayGeometry tray{W, H, B};
    const TRect eraser = tray.EraserDrawn(), menu = tray.MenuButtonDrawn();
    const int piecesTop = TrayPiecesTop(tray, B);
    for (const TRect& r : rects) {
      if (r.Bottom <= piecesTop) continue;
      c.SetClip(r);
      for (int j = 0; j < 6; ++j) {
        const TRect slot = tray.ChalkSlot(j);
        if (j != st.SelectedChalk)
          c.MaskedCopy(slot.Left, slot.Top, slot.Width(), slot.Height(), st.ChalkBitmap, 52 * j, 0);
      }
      if (st.SelectedChalk != EraserSelected)
        c.MaskedCopy(eraser.Left, eraser.Top, eraser.Width(), eraser.Height(), st.EraserBitmap, 0,
                     0);
      c.MaskedCopy(menu.Left, menu.Top, menu.Width(), menu.Height(), st.GlyphBitmap, 448, 64);
    }
  }
  c.ClearClip();

  // The moving parts lie wholly inside the rectangles: they are drawn whole.
  const CursorSprite cursor = Cursor(st, H, bothButtons);
  if (cursor.picture)
    c.MaskedCopy(cursor.box.Left, cursor.box.Top, cursor.box.Width(), cursor.box.Height(),
                 *cursor.picture, cursor.srcX, 0);
  if (st.Opt.ShowDebug) {
    c.font = kOverlayFont;
    for (const OverlayLine& line : OverlayLines(st, Timer.FramesPerSecond()))
      c.TextOut(30, line.y, line.text);
  }
  if (LaidChalkShown(st, H, bothButtons)) {
    const int angle = int(std::lround(st.ChalkAngle / 360.0 * 256.0)) & 0xFF;
    DrawSpriteRotated(frame, DXIL, LaidChalkSpriteName, st.PenX, st.PenY, 52, 11, st.SelectedChalk,
                      0.5, 0.5, angle);
  }
}

QImage Board::WholeFrame() const {
  QImage frame = NewBitmap(std::max(ClientWidth(), 1), std::max(ClientHeight(), 1));
  ComposeFrame(frame, {{0, 0, frame.width(), frame.height()}});
  return frame;
}

bool Board::FrameOnScreen(const FrameInputs& inputs) const {
  // With no dust in flight, a frame of the same inputs as the one on screen is already there.
  return st.DustList.Count() == 0 && shownFrame_ == inputs && !DXDraw.FrontBuffer().isNull();
}

void Board::Compose() {
  if (!DXDraw.SurfaceReady()) return;
  const FrameInputs inputs = CurrentFrameInputs();
  if (FrameOnScreen(inputs)) return;
  shownFrame_.reset();
  DXDraw.FollowClientSize(ClientWidth(), ClientHeight());
  DXDraw.ReleaseSurfaceCanvas();
  QImage& frame = DXDraw.BackBuffer();

  // Composed again: where the moving parts are and were, and where the board changed; all of it
  // when anything else may have changed.
  FrameTiles moving;
  moving.Reset(frame.width(), frame.height());
  MarkMovingParts(moving);
  FrameTiles redo = moving;
  const FrameLook look = CurrentLook();
  const bool whole = shownLook_ != look || DXDraw.FrontBuffer().size() != frame.size() ||
                     frame.cacheKey() != shownBack_ || st.BoardBitmap.cacheKey() != boardKnown_;
  redo.Add(shownMoving_);
  redo.Add(boardChanged_);
  if (whole || 2 * redo.Count() > redo.Total()) redo.MarkAll();
  // Where no moving part lies, above the tray, the frame is the board's own pixels: those tiles
  // are shown straight from the board.
  FrameTiles boardOnly = redo;
  boardOnly.Remove(moving);
  const int B = st.BoardBitmap.height();
  boardOnly.KeepInside(
      {0, 0, st.BoardBitmap.width(), TrayPiecesTop({ClientWidth(), ClientHeight(), B}, B)});
  if (DXDraw.PresentRectsOf(st.BoardBitmap, boardOnly.Rects())) redo.Remove(boardOnly);
  const std::vector<TRect> rects = redo.Rects();
  ComposeFrame(frame, rects);
  DXDraw.PresentRects(rects);

  shownLook_ = look;
  shownMoving_ = std::move(moving);
  shownBack_ = frame.cacheKey();
  boardKnown_ = st.BoardBitmap.cacheKey();
  boardChanged_.Reset(frame.width(), frame.height());
  if (st.DustList.Count() == 0) shownFrame_ = inputs;
}

}  // namespace slatewick
