#include "board/ChalkTools.h"

#include <QPoint>
#include <array>
#include <cmath>
#include <utility>

#include "board/Tray.h"
#include "platform/Canvas.h"

namespace slatewick {

namespace {

// Attaches a pattern to a canvas's brush for one scope; it is detached on every way out.
class AttachedPattern {
 public:
  AttachedPattern(Canvas& canvas, const QImage& pattern) : canvas_(canvas) {
    canvas_.brush.Pattern = &pattern;
  }
  ~AttachedPattern() { canvas_.brush.Pattern = nullptr; }
  AttachedPattern(const AttachedPattern&) = delete;
  AttachedPattern& operator=(const AttachedPattern&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace

ChalkTools::ChalkTools(QImage& picture, Hand& hand, DustList& dust, const Settings& settings,
                       Random& random, Colour ground, std::function<QSize()> clientSize)
    : picture_(picture),
      hand_(hand),
      dust_(dust),
      settings_(settings),
      random_(random),
      ground_(ground),
      clientSize_(std::move(clientSize)) {}

Colour ChalkTools::ChalkShade(int chalk) {
  const Colour color = ChalkColours[std::size_t(chalk)];
  switch (chalk) {
    case 3: {
      const int r = random_(60);
      return ShadeColor(color, r + 32, r + 22, r + 32);
    }
    case 4: {
      const int r = random_(40);
      return ShadeColor(color, 5 * (r / 4) + 40, 4 * (r / 5) + 22, r + 32);
    }
    case 5: {
      const int r = random_(20);
      return ShadeColor(color, r + 44, r + 44, r + 44);
    }
    default: {
      const int r = random_(100);
      return ShadeColor(color, r + 64, r + 44, r + 64);
    }
  }
}

void ChalkTools::BuildPattern(int chalk) {
  QImage pattern(8, 8, QImage::Format_RGB32);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) pattern.setPixel(x, y, ToQRgb(ChalkShade(chalk)));
  pattern_ = pattern;
}

Rect ChalkTools::ChalkStep(int x, int y) {
  Hand& h = hand_;
  const std::int64_t dx = x - h.chalkX, dy = y - h.chalkY;
  const double d = std::sqrt(double(dx * dx + dy * dy));

  const int n = random_(15);
  const Colour color = ShadeColor(ChalkColours[std::size_t(h.tool)], n, n, n);
  Canvas c(picture_);
  c.pen.Color = color;
  c.brush.Color = color;
  if (h.way == ChalkWay::Normal && h.strokeMoves >= 3) {
    c.pen.Style = PenStyle::Solid;
    c.pen.Width = random_(3) + ChalkSize - 1;
    c.MoveTo(h.chalkX, h.chalkY);
    c.LineTo(x, y);
    c.pen.Width = 1;
    const int half = ChalkSize / 2;
    c.Rectangle(x - half, y - half, x + half, y + half);
    int q = Nearest(6 - d);
    if (q < 1) q = 1;
    const int specks = ChalkSize / q + ChalkSize + 1;
    for (int i = 0; i < specks; ++i) {
      const int sy = y + random_(10) - 5;
      const int sx = x + random_(10) - 5;
      c.SetPixel(sx, sy, ground_);
    }
  } else if (h.way == ChalkWay::Corner) {
    c.pen = {ChalkShade(h.tool), PenStyle::Solid, 1};
    c.MoveTo(h.chalkX, h.chalkY);
    c.LineTo(x, y);
  }

  if (d > 6) {
    if (h.way == ChalkWay::Normal && h.strokeMoves >= 3 && d > 13 && settings_.LimitStrokeLength) {
      h.toolDown = false;
      return c.Touched();
    }
    if (h.strokeMoves < 3 && !settings_.CornerOnlyWithCtrl) h.way = ChalkWay::Corner;
  }
  h.chalkX = x;
  h.chalkY = y;
  ++h.movesSinceDust;
  ++h.strokeMoves;
  DustCheck(x, y);
  return c.Touched();
}

Rect ChalkTools::LaidChalkStep(int x, int y) {
  Hand& h = hand_;
  const Colour color = ChalkColours[std::size_t(h.tool)];
  Canvas c(picture_);
  c.pen = {color, PenStyle::Clear, 1};
  c.brush.Color = color;
  {
    BuildPattern(h.tool);
    AttachedPattern attached(c, pattern_);
    const int ox = CosOffset(ChalkHalfLength, h.chalkAngle);
    const int oy = SinOffset(ChalkHalfLength, h.chalkAngle);
    const LaidChalkEnds& e = h.ends;
    std::array<QPoint, 4> band;
    if (h.chalkAngle > 0) {
      band = {QPoint(e.bx, e.by), QPoint(e.ax, e.ay), QPoint(x - ox, y - oy),
              QPoint(x + ox, y + oy)};
    } else {
      const int mirror = 2 * h.chalkY;
      band = {QPoint(e.bx, mirror - e.by), QPoint(e.ax, mirror - e.ay), QPoint(x - ox, y + oy),
              QPoint(x + ox, y - oy)};
    }
    c.Polygon(band);
    h.chalkX = x;
    h.chalkY = y;
    h.ends = {x - ox, y - oy, x + ox, y + oy};
  }
  ++h.movesSinceDust;
  ++h.strokeMoves;
  DustCheck(x, y);
  return c.Touched();
}

Rect ChalkTools::FingerLine(int x, int y) {
  Canvas c(picture_);
  c.pen = {WipeColour(), PenStyle::Solid, 10};
  c.brush.Color = WipeColour();
  c.MoveTo(hand_.pointerX, hand_.pointerY);
  c.LineTo(x, y);
  return c.Touched();
}

Rect ChalkTools::EraserStep(int x, int y) {
  Canvas c(picture_);
  c.pen.Color = WipeColour();
  c.brush.Color = WipeColour();
  c.FillRect({x - 64, y - 18, x + 64, y + 36});
  return c.Touched();
}

void ChalkTools::DustCheck(int x, int y) {
  Hand& h = hand_;
  if (random_(100) < h.movesSinceDust && settings_.ShowDust) {
    const QSize client = clientSize_();
    if (random_(2) == 0 && 0 < x && x < client.width() && 0 < y &&
        y < client.height() - TrayHeight) {
      const int base = h.way == ChalkWay::Normal ? 3 : h.way == ChalkWay::Corner ? 1 : 0;
      dust_.Drop(random_(2) + base + 1, x, y, h.tool);
    }
    h.movesSinceDust = 0;
  }
}

Colour ChalkTools::WipeColour() const {
  return settings_.LeaveSmudge ? ground_ + Rgb(3, 3, 3) : ground_;
}

}  // namespace slatewick
