#include "board/ChalkSamples.h"

#include <QPoint>
#include <algorithm>
#include <cstdlib>

#include "board/ChalkTools.h"
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

QImage DrawChalkSamples(Random& random) {
  QImage picture = NewBitmap(ChalkSamplesWidth, ChalkSamplesHeight);
  picture.fill(ToQRgb(ChalkSamplesGround));
  Hand hand;  // the white chalk
  DustList dust;
  Settings settings;
  settings.ShowDust = false;
  ChalkTools tools(picture, hand, dust, settings, random, ChalkSamplesGround,
                   [] { return QSize(ChalkSamplesWidth, ChalkSamplesHeight); });

  // The flat of the tip: a stroke already under way, so every move draws.
  hand.way = ChalkWay::Normal;
  hand.strokeMoves = 3;
  hand.chalkX = 48, hand.chalkY = 7;
  Drag({48, 7}, {29, 65}, [&](int x, int y) { tools.ChalkStep(x, y); });

  // The corner: a one-pixel line in a shade of the chalk.
  hand.way = ChalkWay::Corner;
  hand.chalkX = 147, hand.chalkY = 6;
  Drag({147, 6}, {124, 66}, [&](int x, int y) { tools.ChalkStep(x, y); });

  // The laid chalk, standing upright, drawn across the picture as a textured band.
  hand.way = ChalkWay::Laid;
  hand.chalkAngle = 90;
  const QPoint start(247, 32), end(232, 41);
  const int ox = CosOffset(ChalkHalfLength, hand.chalkAngle);
  const int oy = SinOffset(ChalkHalfLength, hand.chalkAngle);
  hand.chalkX = start.x(), hand.chalkY = start.y();
  hand.ends = {start.x() - ox, start.y() - oy, start.x() + ox, start.y() + oy};
  Drag(start, end, [&](int x, int y) { tools.LaidChalkStep(x, y); });

  return picture;
}

}  // namespace slatewick
