#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <numbers>
#include <vector>

#include "platform/Canvas.h"
#include "support/Pictures.h"

namespace slatewick {

namespace {

constexpr Colour Black = 0;
constexpr Colour Red = Rgb(255, 0, 0);
constexpr Colour Blue = Rgb(0, 0, 255);
constexpr Colour White = Rgb(255, 255, 255);

struct Px {
  int x, y;
  Colour color;
};

void ExpectPixels(const Canvas& c, const std::vector<Px>& pixels) {
  for (const Px& p : pixels) EXPECT_EQ(c.Pixel(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
}

// Pixels of one colour in the whole picture.
int CountColor(Canvas& c, Colour color) {
  int n = 0;
  for (int y = 0; y < c.Image().height(); ++y)
    for (int x = 0; x < c.Image().width(); ++x) n += c.Pixel(x, y) == color;
  return n;
}

// Rows of column x in that colour.
int ColumnRun(Canvas& c, Colour color, int x) {
  int n = 0;
  for (int y = 0; y < c.Image().height(); ++y) n += c.Pixel(x, y) == color;
  return n;
}

QImage Pattern8() {
  QImage p = NewBitmap(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) p.setPixel(x, y, ToQRgb(Rgb(10 + x * 30, 10 + y * 30, 77)));
  return p;
}

class CanvasTest : public ::testing::Test {
 protected:
  // A canvas over a new black picture, with a red pen and a blue brush.
  Canvas& Paint(int width, int height) {
    Canvas& c = canvases_.emplace_back(pictures_.emplace_back(NewBitmap(width, height)));
    c.pen.Color = Red;
    c.brush.Color = Blue;
    return c;
  }

 private:
  std::deque<QImage> pictures_;
  std::deque<Canvas> canvases_;
};

TEST_F(CanvasTest, NewBitmapIsBlackRgb32) {
  Canvas& c = Paint(5, 3);
  ASSERT_EQ(c.Image().format(), QImage::Format_RGB32);
  ASSERT_EQ(c.Image().size(), QSize(5, 3));
  EXPECT_EQ(CountColor(c, Black), 15);
}

TEST_F(CanvasTest, ThinLineLeavesOutTheEndPixel) {
  Canvas& c = Paint(20, 20);
  c.MoveTo(2, 5);
  c.LineTo(8, 5);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(c.Pixel(x, 5), Red) << x;
  ExpectPixels(c, {Px{8, 5, Black}, Px{1, 5, Black}});
  EXPECT_EQ(CountColor(c, Red), 6);

  c.LineTo(8, 12);  // continues from the previous end
  for (int y = 5; y < 12; ++y) EXPECT_EQ(c.Pixel(8, y), Red) << y;
  EXPECT_EQ(c.Pixel(8, 12), Black);
}

TEST_F(CanvasTest, ThinDiagonalAndShallowLines) {
  Canvas& c = Paint(20, 20);
  c.MoveTo(10, 10);
  c.LineTo(5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c.Pixel(10 - i, 10 - i), Red) << i;
  EXPECT_EQ(c.Pixel(5, 5), Black);
  EXPECT_EQ(CountColor(c, Red), 5);

  Canvas& s = Paint(20, 20);
  s.MoveTo(0, 0);
  s.LineTo(10, 2);
  // One pixel per column, the row never jumping by more than one.
  int lastY = 0;
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(ColumnRun(s, Red, x), 1) << x;
    int y = 0;
    while (s.Pixel(x, y) != Red) ++y;
    EXPECT_LE(y - lastY, 1);
    lastY = y;
  }
  EXPECT_EQ(lastY, 2);
  EXPECT_EQ(ColumnRun(s, Red, 10), 0);
}

TEST_F(CanvasTest, ZeroLengthLinesDrawNothing) {
  Canvas& c = Paint(20, 20);
  c.MoveTo(7, 7);
  c.LineTo(7, 7);
  c.pen.Width = 7;
  c.LineTo(7, 7);
  EXPECT_EQ(CountColor(c, Red), 0);
}

TEST_F(CanvasTest, ClearPenLineDrawsNothingButMoves) {
  Canvas& c = Paint(20, 20);
  c.pen.Style = PenStyle::Clear;
  c.MoveTo(0, 3);
  c.LineTo(15, 3);
  EXPECT_EQ(CountColor(c, Red), 0);
  c.pen.Style = PenStyle::Solid;
  c.LineTo(15, 10);
  EXPECT_EQ(c.Pixel(15, 3), Red);
}

TEST_F(CanvasTest, WideLinesAreExactlyTheirWidthThick) {
  for (int width : {2, 5, 6, 7, 10}) {
    Canvas& c = Paint(60, 60);
    c.pen.Width = width;
    c.MoveTo(15, 30);
    c.LineTo(45, 30);
    EXPECT_EQ(ColumnRun(c, Red, 30), width) << width;
    Canvas& u = Paint(60, 60);
    u.pen = c.pen;
    u.MoveTo(30, 10);
    u.LineTo(30, 50);
    int run = 0;
    for (int x = 0; x < 60; ++x) run += u.Pixel(x, 30) == Red;
    EXPECT_EQ(run, width) << width;
  }
}

TEST_F(CanvasTest, WideLinesHaveRoundCaps) {
  Canvas& c = Paint(60, 60);
  c.pen.Width = 7;
  c.MoveTo(20, 30);
  c.LineTo(40, 30);
  // The caps reach 3 pixels beyond both ends on the axis, but their corners are cut; the cap
  // has its full height at the end point itself.
  ExpectPixels(c, {Px{43, 30, Red}, Px{44, 30, Black}, Px{17, 30, Red}, Px{16, 30, Black},
                   Px{43, 27, Black}, Px{43, 33, Black}, Px{17, 27, Black}, Px{40, 27, Red}});
  // Symmetric about the line's middle column.
  for (int y = 20; y < 40; ++y)
    for (int d = 0; d < 15; ++d) EXPECT_EQ(c.Pixel(30 - d, y), c.Pixel(30 + d, y));
}

TEST_F(CanvasTest, RectangleIsRightAndBottomExclusive) {
  Canvas& c = Paint(30, 30);
  c.Rectangle(10, 10, 20, 15);
  ExpectPixels(c, {Px{10, 10, Red}, Px{19, 10, Red}, Px{19, 14, Red}, Px{10, 14, Red},
                   Px{20, 12, Black}, Px{15, 15, Black}, Px{11, 11, Blue}, Px{18, 13, Blue}});
  EXPECT_EQ(CountColor(c, Red), 2 * 10 + 2 * 3);
  EXPECT_EQ(CountColor(c, Blue), 8 * 3);
}

TEST_F(CanvasTest, ClearPenRectangleIsOnlyTheFill) {
  Canvas& c = Paint(30, 30);
  c.pen.Style = PenStyle::Clear;
  c.Rectangle(10, 10, 20, 15);
  EXPECT_EQ(CountColor(c, Blue), 50);
  ExpectPixels(c, {Px{10, 10, Blue}, Px{19, 14, Blue}, Px{20, 14, Black}, Px{19, 15, Black}});
}

TEST_F(CanvasTest, FillRectUsesTheBrushNotThePen) {
  Canvas& c = Paint(30, 30);
  c.FillRect({3, 4, 7, 9});
  EXPECT_EQ(CountColor(c, Blue), 4 * 5);
  EXPECT_EQ(CountColor(c, Red), 0);
  ExpectPixels(c, {Px{3, 4, Blue}, Px{6, 8, Blue}, Px{7, 8, Black}});
  c.FillRect({5, 5, 5, 20});  // empty
  EXPECT_EQ(CountColor(c, Blue), 4 * 5);
}

TEST_F(CanvasTest, BowtiePolygonFillsTwoTriangles) {
  Canvas& c = Paint(30, 30);
  c.pen.Style = PenStyle::Clear;
  const std::array<QPoint, 4> bowtie = {QPoint(0, 0), QPoint(20, 20), QPoint(20, 0), QPoint(0, 20)};
  c.Polygon(bowtie);
  ExpectPixels(c, {Px{2, 10, Blue}, Px{18, 10, Blue}, Px{10, 2, Black}, Px{10, 17, Black}});
  EXPECT_EQ(c.Pixel(20, 10), Black);  // the right edge is exclusive
  // A pixel is inside when its centre is: on a left edge counts, on a right edge does not.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const bool left = cx < std::min(cy, 20 - cy);
      const bool right = cx >= std::max(cy, 20 - cy);
      EXPECT_EQ(c.Pixel(x, y), left || right ? Blue : Black) << x << "," << y;
    }
  }
}

TEST_F(CanvasTest, PolygonUsesTheAlternateRule) {
  // A five-pointed star drawn in one stroke: its centre is wound twice and stays empty.
  Canvas& c = Paint(100, 100);
  c.pen.Style = PenStyle::Clear;
  std::array<QPoint, 5> star;
  for (int k = 0; k < 5; ++k) {
    const double a = -std::numbers::pi / 2 + k * 4 * std::numbers::pi / 5;
    star[std::size_t(k)] =
        QPoint(50 + int(std::lround(45 * std::cos(a))), 50 + int(std::lround(45 * std::sin(a))));
  }
  c.Polygon(star);
  // Inside the top point, and above it.
  ExpectPixels(c, {Px{50, 50, Black}, Px{50, 12, Blue}, Px{50, 2, Black}});
}

TEST_F(CanvasTest, PolygonOutlineWithThePen) {
  Canvas& c = Paint(30, 30);
  const std::array<QPoint, 4> square = {QPoint(5, 5), QPoint(15, 5), QPoint(15, 15), QPoint(5, 15)};
  c.Polygon(square);
  ExpectPixels(c,
               {Px{5, 5, Red}, Px{15, 15, Red}, Px{15, 5, Red}, Px{10, 15, Red}, Px{10, 10, Blue}});
  EXPECT_EQ(CountColor(c, Red), 40);
}

TEST_F(CanvasTest, PatternBrushIsTiledFromTheImageOrigin) {
  const QImage pattern = Pattern8();
  const auto patternAt = [&](int x, int y) { return FromQRgb(pattern.pixel(x % 8, y % 8)); };
  Canvas& c = Paint(40, 40);
  c.pen.Style = PenStyle::Clear;
  c.brush.Pattern = &pattern;
  const std::array<QPoint, 4> quad = {QPoint(5, 6), QPoint(31, 4), QPoint(33, 30), QPoint(7, 33)};
  c.Polygon(quad);
  ExpectPixels(
      c, {Px{9, 10, patternAt(1, 2)}, Px{17, 18, patternAt(1, 2)}, Px{25, 10, patternAt(1, 2)}});
  for (int y = 12; y < 28; ++y)
    for (int x = 12; x < 28; ++x) EXPECT_EQ(c.Pixel(x, y), patternAt(x, y));

  Canvas& f = Paint(40, 40);
  f.brush.Pattern = &pattern;
  f.FillRect({3, 3, 20, 20});
  ExpectPixels(f, {Px{9, 10, patternAt(1, 2)}, Px{3, 3, patternAt(3, 3)}});
}

TEST_F(CanvasTest, DrawingIsClippedToTheImage) {
  Canvas& c = Paint(20, 20);
  c.MoveTo(-10, -10);
  c.LineTo(10, 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(c.Pixel(i, i), Red);
  EXPECT_EQ(CountColor(c, Red), 10);

  c.MoveTo(-1000000, 15);
  c.LineTo(1000000, 15);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(c.Pixel(x, 15), Red);

  c.pen.Width = 6;
  c.MoveTo(-30, -30);
  c.LineTo(-5, -5);  // wholly outside
  c.pen.Width = 1;
  c.Rectangle(-5, -5, 3, 3);
  EXPECT_EQ(c.Pixel(0, 0), Blue);  // the outline lies outside
  EXPECT_EQ(c.Pixel(2, 2), Red);
  c.SetPixel(-1, 0, White);
  c.SetPixel(20, 0, White);
  c.SetPixel(0, 20, White);
  EXPECT_EQ(CountColor(c, White), 0);
  ExpectPixels(c, {Px{-1, 0, Black}, Px{0, 20, Black}});
  c.SetPixel(19, 19, White);
  EXPECT_EQ(c.Pixel(19, 19), White);
}

TEST_F(CanvasTest, CopyModesCombineTheBits) {
  QImage src = NewBitmap(4, 4);
  src.fill(ToQRgb(Rgb(0xF0, 0x0F, 0x33)));
  Canvas& c = Paint(10, 10);
  c.Image().fill(ToQRgb(Rgb(0x3C, 0xFF, 0x0F)));
  c.CopyRect(0, 0, 2, 2, src, 0, 0, CopyMode::SrcCopy);
  c.CopyRect(3, 0, 2, 2, src, 0, 0, CopyMode::SrcAnd);
  c.CopyRect(6, 0, 2, 2, src, 0, 0, CopyMode::SrcPaint);
  const Colour dst = Rgb(0x3C, 0xFF, 0x0F);
  ExpectPixels(c, {Px{1, 1, Rgb(0xF0, 0x0F, 0x33)}, Px{4, 1, Rgb(0x30, 0x0F, 0x03)},
                   Px{7, 1, Rgb(0xFC, 0xFF, 0x3F)}, Px{2, 1, dst}, Px{5, 1, dst}, Px{7, 2, dst}});
  EXPECT_EQ(qAlpha(c.Image().pixel(7, 1)), 255);
}

TEST_F(CanvasTest, CopyRectClipsSourceAndDestination) {
  QImage src = NewBitmap(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.setPixel(x, y, ToQRgb(Rgb(x + 1, y + 1, 9)));
  Canvas& c = Paint(6, 6);
  // Source starting left of the picture: only its columns 0..1 arrive, at x = 2..3.
  c.CopyRect(0, 0, 4, 1, src, -2, 0);
  ExpectPixels(c,
               {Px{0, 0, Black}, Px{1, 0, Black}, Px{2, 0, Rgb(1, 1, 9)}, Px{3, 0, Rgb(2, 1, 9)}});
  // Destination off the top left: the visible corner shows source (2, 2).
  c.CopyRect(-2, -2, 4, 4, src, 0, 0);
  ExpectPixels(c, {Px{0, 0, Rgb(3, 3, 9)}, Px{1, 1, Rgb(4, 4, 9)}});
  // Past the bottom right, and past the source's end.
  c.CopyRect(4, 4, 10, 10, src, 2, 2);
  ExpectPixels(c, {Px{4, 4, Rgb(3, 3, 9)}, Px{5, 5, Rgb(4, 4, 9)}});
  c.CopyRect(0, 5, 4, 1, src, 3, 0);
  ExpectPixels(c, {Px{0, 5, Rgb(4, 1, 9)}, Px{1, 5, Black}});
}

TEST_F(CanvasTest, CopyRectWithinOnePicture) {
  Canvas& c = Paint(8, 1);
  for (int x = 0; x < 8; ++x) c.SetPixel(x, 0, Rgb(x + 1, 0, 0));
  c.CopyRect(2, 0, 6, 1, c.Image(), 0, 0);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(c.Pixel(x, 0), Rgb(x - 1, 0, 0));
}

TEST_F(CanvasTest, StretchDrawIsNearestNeighbour) {
  QImage column = NewBitmap(1, 2);
  column.setPixel(0, 0, ToQRgb(Red));
  column.setPixel(0, 1, ToQRgb(Blue));
  Canvas& c = Paint(12, 6);
  c.StretchDraw({1, 1, 11, 5}, column, {0, 0, 1, 2});
  for (int x = 1; x < 11; ++x)
    ExpectPixels(c,
                 {Px{x, 1, Red}, Px{x, 2, Red}, Px{x, 3, Blue}, Px{x, 4, Blue}, Px{x, 5, Black}});
  ExpectPixels(c, {Px{0, 2, Black}, Px{11, 2, Black}});

  QImage pair = NewBitmap(2, 1);
  pair.setPixel(0, 0, ToQRgb(Red));
  pair.setPixel(1, 0, ToQRgb(Blue));
  Canvas& w = Paint(4, 1);
  w.StretchDraw({-2, 0, 6, 1}, pair, {0, 0, 2, 1});  // clipped on both sides
  ExpectPixels(w, {Px{0, 0, Red}, Px{1, 0, Red}, Px{2, 0, Blue}, Px{3, 0, Blue}});
}

TEST_F(CanvasTest, TextIsWhiteInsideItsCellAtTheFontSize) {
  Canvas& c = Paint(400, 120);
  c.font.Name = QStringLiteral("Arial");
  c.font.Size = 30;
  c.font.Color = White;
  c.TextOut(30, 30, QStringLiteral("FPS: 60"));
  int top = 1000, bottom = -1, left = 1000, whites = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 400; ++x) {
      const Colour p = c.Pixel(x, y);
      if (p == Black) continue;
      EXPECT_EQ(RedOf(p), GreenOf(p));  // grey levels of white, nothing else
      EXPECT_EQ(RedOf(p), BlueOf(p));
      whites += p == White;
      top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x);
    }
  }
  EXPECT_GT(whites, 100);
  EXPECT_GE(left, 30);
  EXPECT_LE(left, 36);
  EXPECT_GE(top, 30);
  // 30 points are 40 pixels: capitals some 28 pixels tall, starting below the cell's top.
  EXPECT_GE(bottom - top, 24);
  EXPECT_LE(bottom - top, 34);
  EXPECT_LT(bottom, 30 + 40);
}

TEST_F(CanvasTest, TextBackgroundIsTransparent) {
  const Colour board = Rgb(0, 80, 0);
  Canvas& c = Paint(200, 60);
  c.Image().fill(ToQRgb(board));
  c.font.Size = 30;
  c.font.Color = White;
  c.TextOut(10, 10, QStringLiteral("L:   R: "));
  c.TextOut(10, 10, QStringLiteral("  *"));
  ExpectPixels(c, {Px{0, 0, board}, Px{199, 59, board}});
  // The cell's top rows lie above the capitals: the background shows through.
  for (int x = 0; x < 200; ++x) EXPECT_EQ(c.Pixel(x, 11), board) << x;
  EXPECT_GT(CountColor(c, White), 50);
}

}  // namespace

namespace {

constexpr QRgb Green = 0xFF005000u;

// A 6 x 4 picture of distinct colours, none of them black.
QImage Colourful() {
  QImage image = NewBitmap(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) image.setPixel(x, y, qRgb(40 * x + 10, 60 * y + 5, 200));
  return image;
}

// Colourful, with pure black and two nearly black pixels in its second row.
QImage WithBlack() {
  QImage image = Colourful();
  image.setPixel(1, 1, qRgb(0, 0, 0));
  image.setPixel(2, 1, qRgb(1, 0, 0));  // nearly black still covers
  image.setPixel(3, 1, qRgb(0, 0, 1));
  return image;
}

// Two pixels of 24 bits each: black, then a colour.
QImage TwentyFourBits() {
  QImage image(2, 1, QImage::Format_RGB888);
  image.setPixel(0, 0, qRgb(0, 0, 0));
  image.setPixel(1, 0, qRgb(9, 8, 7));
  return image;
}

QImage Board() {
  QImage image = NewBitmap(10, 8);
  image.fill(Green);
  return image;
}

}  // namespace

// Every pixel of the 10 x 8 board is compared with what the masked copy must leave.
TEST(MaskedCopy, PaintsAllButPureBlackAndIsClippedAtBothPictures) {
  const struct {
    const char* name;
    QImage src;
    int x, y, w, h, sx, sy;
  } blits[] = {
      {"without black: an exact copy", Colourful(), 2, 3, 6, 4, 0, 0},
      {"all black changes nothing", NewBitmap(6, 4), 1, 1, 6, 4, 0, 0},
      {"only pure black is left out", WithBlack(), 0, 0, 6, 4, 0, 0},
      {"a sub-rectangle", Colourful(), 5, 5, 2, 2, 3, 1},
      {"off the top left: source (2, 1) lands on (0, 0)", Colourful(), -2, -1, 6, 4, 0, 0},
      {"off the bottom right", Colourful(), 8, 6, 6, 4, 0, 0},
      {"source reaching past the source picture on both sides", Colourful(), 0, 0, 10, 2, -2, 3},
      {"right of the destination", Colourful(), 20, 0, 6, 4, 0, 0},
      {"no width", Colourful(), 0, 0, 0, 4, 0, 0},
      {"another picture format", TwentyFourBits(), 0, 0, 2, 1, 0, 0},
  };
  for (const auto& b : blits) {
    SCOPED_TRACE(b.name);
    QImage dst = Board();
    Canvas(dst).MaskedCopy(b.x, b.y, b.w, b.h, b.src, b.sx, b.sy);
    EXPECT_TRUE(SamePixels(dst, MaskedCopy(Board(), b.x, b.y, b.w, b.h, b.src, b.sx, b.sy)));
  }
}

TEST(RectTest, OverlapsOnlyWhenTheyShareAPixel) {
  const struct {
    const char* name;
    Rect a, b;
    bool overlap;
  } pairs[] = {
      {"touching on the right", {0, 0, 10, 10}, {10, 0, 20, 10}, false},
      {"touching below", {0, 0, 10, 10}, {0, 10, 10, 20}, false},
      {"touching at a corner", {0, 0, 10, 10}, {10, 10, 20, 20}, false},
      {"sharing one pixel", {0, 0, 10, 10}, {9, 9, 20, 20}, true},
      {"second inside the first", {0, 0, 100, 100}, {10, 10, 20, 20}, true},
      {"first inside the second", {10, 10, 20, 20}, {0, 0, 100, 100}, true},
      {"the same pixel", {5, 5, 6, 6}, {5, 5, 6, 6}, true},
      {"first without width", {5, 5, 5, 20}, {0, 0, 100, 100}, false},
      {"second without height", {0, 0, 100, 100}, {5, 5, 20, 5}, false},
      {"first turned inside out", {20, 20, 10, 10}, {0, 0, 100, 100}, false},
      {"apart", {0, 0, 10, 10}, {30, 30, 40, 40}, false},
  };
  for (const auto& p : pairs) EXPECT_EQ(p.a.Overlaps(p.b), p.overlap) << p.name;
}

}  // namespace slatewick
