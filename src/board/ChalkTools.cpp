// Chalk, laid chalk, finger and eraser: the marks the hand leaves on the board.
#include <QPoint>
#include <array>
#include <cmath>
#include <cstdlib>

#include "board/Board.h"
#include "platform/Canvas.h"
#include "platform/Random.h"

namespace slatewick {

namespace {

TColor Darken(TColor color, int dR, int dG, int dB) {
  return ShadeColor(color, std::int16_t(dR), std::int16_t(dG), std::int16_t(dB));
}

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

// Table index of an angle in degrees: 256ths of a turn, sign dropped.
int AngleIndex(int Angle) {
  return Nearest(std::abs(Angle) / 360.0 * 256.0) % 256;
}

}  // namespace

TColor Board::ChalkShade(int chalk) {
  const TColor color = st.ChalkColors[std::size_t(chalk)];
  switch (chalk) {
    case 3: {
      const int r = Random(60);
      return Darken(color, r + 32, r + 22, r + 32);
    }
    case 4: {
      const int r = Random(40);
      return Darken(color, 5 * (r / 4) + 40, 4 * (r / 5) + 22, r + 32);
    }
    case 5: {
      const int r = Random(20);
      return Darken(color, r + 44, r + 44, r + 44);
    }
    default: {
      const int r = Random(100);
      return Darken(color, r + 64, r + 44, r + 64);
    }
  }
}

void Board::BuildChalkPattern(int chalk) {
  QImage pattern(8, 8, QImage::Format_RGB32);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 8; ++y) pattern.setPixel(x, y, ToQRgb(ChalkShade(chalk)));
  st.ChalkPatternBitmap = pattern;
}

int Board::CosOffset(int Radius, int Angle) const {
  return Nearest(st.CosineTable[std::size_t(AngleIndex(Angle))] * Radius);
}

int Board::SinOffset(int Radius, int Angle) const {
  return Nearest(st.CosineTable[std::size_t((AngleIndex(Angle) + 192) % 256)] * Radius);
}

void Board::ChalkStep(int X, int Y) {
  const std::int64_t dx = X - st.ChalkX, dy = Y - st.ChalkY;
  const double d = std::sqrt(double(dx * dx + dy * dy));

  const int n = Random(15);
  const TColor color = Darken(st.ChalkColors[std::size_t(st.SelectedChalk)], n, n, n);
  const qint64 before = st.BoardBitmap.cacheKey();
  Canvas c(st.BoardBitmap);
  c.pen.Color = color;
  c.brush.Color = color;
  if (st.ToolMode == NormalWay && st.StrokeCount >= 3) {
    c.pen.Style = PenStyle::Solid;
    c.pen.Width = Random(3) + st.ChalkSize - 1;
    c.MoveTo(st.ChalkX, st.ChalkY);
    c.LineTo(X, Y);
    c.pen.Width = 1;
    const int h = st.ChalkSize / 2;
    c.Rectangle(X - h, Y - h, X + h, Y + h);
    int q = Nearest(6 - d);
    if (q < 1) q = 1;
    const int specks = st.ChalkSize / q + st.ChalkSize + 1;
    for (int i = 0; i < specks; ++i) {
      const int y = Y + Random(10) - 5;
      const int x = X + Random(10) - 5;
      c.SetPixel(x, y, st.BoardColor);
    }
  } else if (st.ToolMode == CornerWay) {
    c.pen = {ChalkShade(st.SelectedChalk), PenStyle::Solid, 1};
    c.MoveTo(st.ChalkX, st.ChalkY);
    c.LineTo(X, Y);
  }
  NoteBoardChange(before, c.Touched());

  if (d > 6) {
    if (st.ToolMode == NormalWay && st.StrokeCount >= 3 && d > 13 && st.Opt.LimitStrokeLength) {
      st.PenDown = false;
      return;
    }
    if (st.StrokeCount < 3 && !st.Opt.CornerOnlyWithCtrl) st.ToolMode = CornerWay;
  }
  st.ChalkX = X;
  st.ChalkY = Y;
  ++st.DustMoveCount;
  ++st.StrokeCount;
  DustCheck(X, Y);
}

void Board::DrawLaidChalk(int X, int Y) {
  const TColor color = st.ChalkColors[std::size_t(st.SelectedChalk)];
  const qint64 before = st.BoardBitmap.cacheKey();
  Canvas c(st.BoardBitmap);
  c.pen = {color, PenStyle::Clear, 1};
  c.brush.Color = color;
  {
    BuildChalkPattern(st.SelectedChalk);
    AttachedPattern attached(c, st.ChalkPatternBitmap);
    const int ox = CosOffset(ChalkHalfLength, st.ChalkAngle);
    const int oy = SinOffset(ChalkHalfLength, st.ChalkAngle);
    const TChalkBox& box = st.ChalkBox;
    std::array<QPoint, 4> band;
    if (st.ChalkAngle > 0) {
      band = {QPoint(box.EndBX, box.EndBY), QPoint(box.EndAX, box.EndAY), QPoint(X - ox, Y - oy),
              QPoint(X + ox, Y + oy)};
    } else {
      const int mirror = 2 * st.ChalkY;
      band = {QPoint(box.EndBX, mirror - box.EndBY), QPoint(box.EndAX, mirror - box.EndAY),
              QPoint(X - ox, Y + oy), QPoint(X + ox, Y - oy)};
    }
    c.Polygon(band);
    NoteBoardChange(before, c.Touched());
    st.ChalkX = X;
    st.ChalkY = Y;
    st.ChalkBox = {X - ox, Y - oy, X + ox, Y + oy};
  }
  ++st.DustMoveCount;
  ++st.StrokeCount;
  DustCheck(X, Y);
}

void Board::FingerLine(int X, int Y) {
  const qint64 before = st.BoardBitmap.cacheKey();
  Canvas c(st.BoardBitmap);
  c.pen = {WipeColor(), PenStyle::Solid, 10};
  c.brush.Color = WipeColor();
  c.MoveTo(st.PenX, st.PenY);
  c.LineTo(X, Y);
  NoteBoardChange(before, c.Touched());
}

void Board::EraserStep(int X, int Y) {
  const qint64 before = st.BoardBitmap.cacheKey();
  Canvas c(st.BoardBitmap);
  c.pen.Color = WipeColor();
  c.brush.Color = WipeColor();
  c.FillRect({X - 64, Y - 18, X + 64, Y + 36});
  NoteBoardChange(before, c.Touched());
}

void Board::DustCheck(int X, int Y) {
  if (Random(100) < st.DustMoveCount && st.Opt.ShowDust) {
    if (Random(2) == 0 && 0 < X && X < ClientWidth() && 0 < Y && Y < ClientHeight() - TrayHeight) {
      const int base = st.ToolMode == NormalWay ? 3 : st.ToolMode == CornerWay ? 1 : 0;
      AddDust(Random(2) + base + 1, X, Y);
    }
    st.DustMoveCount = 0;
  }
}

TColor Board::WipeColor() const {
  return st.Opt.LeaveSmudge ? st.BoardColor + RGB(3, 3, 3) : st.BoardColor;
}

void Board::AddDust(int count, int X, int Y) {
  for (int i = 0; i < count; ++i) {
    TKona& kona = st.DustList.Add();
    kona.ChalkIndex = st.SelectedChalk;
    kona.X = X;
    kona.Y = Y;
  }
}

}  // namespace slatewick
