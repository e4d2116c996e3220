#include "board/Compose.h"

#include <algorithm>
#include <cmath>

#include "board/Tray.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

const TextStyle OverlayFont{QStringLiteral("Arial"), 30, Rgb(255, 255, 255)};

struct OverlayLine {
  int y;
  QString text;
};

// The debug overlay's lines, drawn in order at x = 30.
std::vector<OverlayLine> OverlayLines(const FrameScene& scene) {
  const auto n = [](long long v) { return QString::number(v); };
  const Hand& h = scene.hand;
  std::vector<OverlayLine> lines{
      {30, QStringLiteral("FPS: ") + n(scene.framesPerSecond)},
      {70, QStringLiteral("X:") + n(h.chalkX) + QStringLiteral("\u3000Y:") + n(h.chalkY)},
      {110, QStringLiteral("Angle:") + n(h.chalkAngle)},
      {150, QStringLiteral("KonaCnt:") + n(h.movesSinceDust)},
      {190, QStringLiteral("MouseCnt:") + n(h.strokeMoves)},
      {230, QStringLiteral("Kona:") + n(scene.dust.Count())},
      {270, QStringLiteral("L:   R: ")}};
  if (h.toolDown) lines.push_back({270, QStringLiteral("  *")});
  if (h.fingerDown) lines.push_back({270, QStringLiteral("        *")});
  return lines;
}

bool BothButtons(const FrameScene& scene) {
  return scene.keys.Left && scene.keys.Right;
}

// The picture under the pointer: the hand, the held chalk or the eraser, or none.
struct CursorSprite {
  Rect box;
  const QImage* picture = nullptr;
  int srcX = 0;
};

CursorSprite Cursor(const FrameScene& scene) {
  const Hand& h = scene.hand;
  const BoardPictures& p = scene.pictures;
  const int x = h.pointerX, y = h.pointerY;
  const bool both = BothButtons(scene);
  if (y >= scene.client.height() - TrayHeight) return {{x - 3, y, x + 21, y + 74}, &p.hand, 0};
  if (h.tool >= 0 && (both || (!h.fingerDown && h.way != ChalkWay::Laid)))
    return {{x - 3, y - 3, x + 37, y + 37}, &p.heldChalks, 40 * h.tool};
  if (h.fingerDown && !both && h.way != ChalkWay::Tapping)
    return {{x - 10, y - 5, x + 14, y + 69}, &p.hand, 0};
  if (h.tool == EraserSelected) return {{x - 64, y - 32, x + 64, y + 40}, &p.eraser, 0};
  return {};
}

bool LaidChalkShown(const FrameScene& scene) {
  const Hand& h = scene.hand;
  return h.way == ChalkWay::Laid && h.pointerY < scene.client.height() - TrayHeight &&
         !BothButtons(scene);
}

}  // namespace

int TrayPiecesTop(QSize client, int boardHeight) {
  const TrayGeometry tray{client.width(), client.height(), boardHeight};
  return std::min({boardHeight, tray.EraserDrawn().Top, tray.MenuButtonDrawn().Top});
}

void MarkMovingParts(const FrameScene& scene, FrameTiles& tiles) {
  const Hand& h = scene.hand;
  const CursorSprite cursor = Cursor(scene);
  if (cursor.picture) tiles.Mark(cursor.box);
  if (LaidChalkShown(scene))
    tiles.Mark({h.pointerX - 30, h.pointerY - 30, h.pointerX + 31, h.pointerY + 31});
  scene.dust.Mark(tiles);
  if (scene.showDebug) {
    QImage none;
    Canvas measure(none);
    measure.font = OverlayFont;
    for (const OverlayLine& line : OverlayLines(scene))
      tiles.Mark(measure.TextBox(30, line.y, line.text));
  }
}

void ComposeFrame(QImage& frame, const FrameScene& scene, const std::vector<Rect>& rects) {
  const int W = scene.client.width(), H = scene.client.height();
  const QImage& board = scene.board;
  const BoardPictures& p = scene.pictures;
  const Hand& h = scene.hand;
  const int B = board.height();

  // The board, the tray below it and black beyond both; then the dust.
  Canvas c(frame);
  c.brush.Color = 0;
  for (const Rect& r : rects) {
    c.SetClip(r);
    c.CopyRect(0, 0, board.width(), B, board, 0, 0);
    c.StretchDraw({0, B, W, B + TrayHeight}, p.tray, {0, 0, 1, TrayHeight});
    c.FillRect({board.width(), 0, frame.width(), B});
    c.FillRect({0, B + TrayHeight, frame.width(), frame.height()});
  }
  scene.dust.Draw(frame);

  // The pieces lying in the tray.
  if (!scene.keys.Shift) {
    const TrayGeometry tray{W, H, B};
    const Rect eraser = tray.EraserDrawn(), menu = tray.MenuButtonDrawn();
    const int piecesTop = TrayPiecesTop(scene.client, B);
    for (const Rect& r : rects) {
      if (r.Bottom <= piecesTop) continue;
      c.SetClip(r);
      for (int j = 0; j < 6; ++j) {
        const Rect slot = tray.ChalkSlot(j);
        if (j != h.tool)
          c.MaskedCopy(slot.Left, slot.Top, slot.Width(), slot.Height(), p.chalks, 52 * j, 0);
      }
      if (h.tool != EraserSelected)
        c.MaskedCopy(eraser.Left, eraser.Top, eraser.Width(), eraser.Height(), p.eraser, 0, 0);
      c.MaskedCopy(menu.Left, menu.Top, menu.Width(), menu.Height(), p.glyphs, 448, 64);
    }
  }
  c.ClearClip();

  // The moving parts lie wholly inside the rectangles: they are drawn whole.
  const CursorSprite cursor = Cursor(scene);
  if (cursor.picture)
    c.MaskedCopy(cursor.box.Left, cursor.box.Top, cursor.box.Width(), cursor.box.Height(),
                 *cursor.picture, cursor.srcX, 0);
  if (scene.showDebug) {
    c.font = OverlayFont;
    for (const OverlayLine& line : OverlayLines(scene)) c.TextOut(30, line.y, line.text);
  }
  if (LaidChalkShown(scene)) {
    const int angle = int(std::lround(h.chalkAngle / 360.0 * 256.0)) & 0xFF;
    DrawSpriteRotated(frame, LaidChalkSprite(), h.pointerX, h.pointerY, h.tool, angle);
  }
}

QImage WholeFrame(const FrameScene& scene) {
  QImage frame = NewBitmap(std::max(scene.client.width(), 1), std::max(scene.client.height(), 1));
  ComposeFrame(frame, scene, {{0, 0, frame.width(), frame.height()}});
  return frame;
}

}  // namespace slatewick
