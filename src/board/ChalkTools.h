#pragma once
#include <QImage>
#include <QSize>
#include <functional>

#include "board/Dust.h"
#include "board/Hand.h"
#include "platform/Colour.h"
#include "platform/Random.h"
#include "platform/Rect.h"
#include "settings/Settings.h"

namespace slatewick {

// The marks the hand leaves on a board picture: the chalk's flat and corner strokes, the laid
// chalk's band, the finger's smudge and the eraser's wipe, with the dust that strokes drop. Each
// step reads and moves the hand, draws from the random generator in the order the rules give, and
// returns the box of the pixels it may have changed.
class ChalkTools {
 public:
  // ground: the board's own colour (the specks of a stroke and a clean wipe); clientSize: the
  // window's client area now (dust falls only from points inside its board band).
  ChalkTools(QImage& picture, Hand& hand, DustList& dust, const Settings& settings, Random& random,
             Colour ground, std::function<QSize()> clientSize);

  // The chalk in the normal or corner way moved to (x, y): from the fourth move of a stroke the
  // flat draws a 5 to 7 pixel line, a 6 x 6 square and board-coloured specks; the corner a
  // one-pixel line. A long move may turn the stroke into a corner line or end it.
  Rect ChalkStep(int x, int y);
  // The laid chalk dragged or turned to (x, y): the band between its old ends and its new ones,
  // filled with a pattern of its shades.
  Rect LaidChalkStep(int x, int y);
  // The finger's 10-pixel smudge from the pointer's last place to (x, y).
  Rect FingerLine(int x, int y);
  // The eraser's 128 x 54 wipe at (x, y).
  Rect EraserStep(int x, int y);

  // The 8 x 8 pattern of the last laid-chalk step (null before one).
  const QImage& Pattern() const { return pattern_; }
  // The colour of a wipe: a faint smudge, or the board itself without LeaveSmudge.
  Colour WipeColour() const;
  // A shade of the chalk's colour, as the corner line and the laid chalk's pattern use.
  Colour ChalkShade(int chalk);
  // The laid chalk's 8 x 8 pattern: one shade of the chalk a pixel, column by column.
  void BuildPattern(int chalk);
  // After a move: with a chance that grows with the moves since dust last fell, some dust falls
  // at (x, y) (5 particles or fewer, by the way of the chalk), and the count starts again.
  void DustCheck(int x, int y);

 private:
  QImage& picture_;
  Hand& hand_;
  DustList& dust_;
  const Settings& settings_;
  Random& random_;
  Colour ground_;
  std::function<QSize()> clientSize_;
  QImage pattern_;
};

}  // namespace slatewick
