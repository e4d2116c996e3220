#include "board/ChalkSamples.h"

#include <QPoint>
#include <algorithm>
#include <cstdlib>

#include "board/Board.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

constexpr int MaxStep = 4;  // pixels between two pointer moves, well inside every stroke limit

// Feeds the moves of a hand going from `from` to `to` to a stroke step, as pointer moves would.
template <typename Step>
void Drag(QPoint from, QPoint to, Step step) {
  const QPoint delta = to - from;
  const int moves =
      std::max((std::max(std::abs(delta.x()), std::abs(delta.y())) + MaxStep - 1) / MaxStep, 1);
  for (int i = 1; i <= moves; ++i)
    step(from.x() + Nearest(double(delta.x()) * i / moves),
         from.y() + Nearest(double(delta.y()) * i / moves));
}

}  // namespace

QImage DrawChalkSamples(const BoardState& board) {
  // A board of its own whose BoardBitmap is the picture: the strokes are the real ones.
  Board pad;
  BoardState& st = pad.st;
  st.BoardColor = ChalkSamplesGround;
  st.BoardBitmap = NewBitmap(ChalkSamplesWidth, ChalkSamplesHeight);
  st.BoardBitmap.fill(ToQRgb(ChalkSamplesGround));
  st.ChalkColors = board.ChalkColors;
  st.ChalkSize = board.ChalkSize;
  st.CosineTable = board.CosineTable;
  st.Opt = Settings{};
  st.Opt.ShowDust = false;
  st.SelectedChalk = 0;

  // The flat of the tip: a stroke already under way, so every move draws.
  st.ToolMode = NormalWay;
  st.StrokeCount = 3;
  st.ChalkX = 48, st.ChalkY = 7;
  Drag({48, 7}, {29, 65}, [&](int x, int y) { pad.ChalkStep(x, y); });

  // The corner: a one-pixel line in a shade of the chalk.
  st.ToolMode = CornerWay;
  st.ChalkX = 147, st.ChalkY = 6;
  Drag({147, 6}, {124, 66}, [&](int x, int y) { pad.ChalkStep(x, y); });

  // The laid chalk, standing upright, drawn across the picture as a textured band.
  st.ToolMode = LaidWay;
  st.ChalkAngle = 90;
  const QPoint start(247, 32), end(232, 41);
  const int ox = pad.CosOffset(ChalkHalfLength, st.ChalkAngle);
  const int oy = pad.SinOffset(ChalkHalfLength, st.ChalkAngle);
  st.ChalkX = start.x(), st.ChalkY = start.y();
  st.ChalkBox = {start.x() - ox, start.y() - oy, start.x() + ox, start.y() + oy};
  Drag(start, end, [&](int x, int y) { pad.DrawLaidChalk(x, y); });

  return st.BoardBitmap;
}

}  // namespace slatewick
