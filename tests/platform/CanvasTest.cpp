#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/Canvas.h"

namespace {

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Blue = RGB(0, 0, 255);
constexpr TColor White = RGB(255, 255, 255);

// Pixels of one colour inside the rectangle [0, w) x [0, h).
int CountColor(const Canvas& c, TColor color, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += c.Pixel(x, y) == color;
  return n;
}

// Rows of column x in that colour.
int ColumnRun(const Canvas& c, TColor color, int x, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y) n += c.Pixel(x, y) == color;
  return n;
}

QImage Pattern8() {
  QImage p = NewBitmap(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) p.setPixel(x, y, ToQRgb(RGB(10 + x * 30, 10 + y * 30, 77)));
  return p;
}

TEST(CanvasTest, NewBitmapIsBlackRgb32) {
  QImage image = NewBitmap(5, 3);
  ASSERT_EQ(image.format(), QImage::Format_RGB32);
  ASSERT_EQ(image.size(), QSize(5, 3));
  Canvas c(image);
  EXPECT_EQ(CountColor(c, 0, 5, 3), 15);
}

TEST(CanvasTest, ThinLineLeavesOutTheEndPixel) {
  QImage image = NewBitmap(20, 20);
  Canvas c(image);
  c.pen.Color = Red;
  c.MoveTo(2, 5);
  c.LineTo(8, 5);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(c.Pixel(x, 5), Red) << x;
  EXPECT_EQ(c.Pixel(8, 5), 0u);
  EXPECT_EQ(c.Pixel(1, 5), 0u);
  EXPECT_EQ(CountColor(c, Red, 20, 20), 6);

  c.LineTo(8, 12);  // continues from the previous end
  for (int y = 5; y < 12; ++y) EXPECT_EQ(c.Pixel(8, y), Red) << y;
  EXPECT_EQ(c.Pixel(8, 12), 0u);
}

TEST(CanvasTest, ThinDiagonalAndShallowLines) {
  QImage image = NewBitmap(20, 20);
  Canvas c(image);
  c.pen.Color = Red;
  c.MoveTo(10, 10);
  c.LineTo(5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c.Pixel(10 - i, 10 - i), Red) << i;
  EXPECT_EQ(c.Pixel(5, 5), 0u);
  EXPECT_EQ(CountColor(c, Red, 20, 20), 5);

  QImage shallow = NewBitmap(20, 20);
  Canvas s(shallow);
  s.pen.Color = Blue;
  s.MoveTo(0, 0);
  s.LineTo(10, 2);
  // One pixel per column, the row never jumping by more than one.
  int lastY = 0;
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(ColumnRun(s, Blue, x, 20), 1) << x;
    int y = 0;
    while (s.Pixel(x, y) != Blue) ++y;
    EXPECT_LE(y - lastY, 1);
    lastY = y;
  }
  EXPECT_EQ(lastY, 2);
  EXPECT_EQ(ColumnRun(s, Blue, 10, 20), 0);
}

TEST(CanvasTest, ZeroLengthLinesDrawNothing) {
  QImage image = NewBitmap(20, 20);
  Canvas c(image);
  c.pen.Color = Red;
  c.MoveTo(7, 7);
  c.LineTo(7, 7);
  c.pen.Width = 7;
  c.LineTo(7, 7);
  EXPECT_EQ(CountColor(c, Red, 20, 20), 0);
}

TEST(CanvasTest, ClearPenLineDrawsNothingButMoves) {
  QImage image = NewBitmap(20, 20);
  Canvas c(image);
  c.pen.Color = Red;
  c.pen.Style = PenStyle::Clear;
  c.MoveTo(0, 3);
  c.LineTo(15, 3);
  EXPECT_EQ(CountColor(c, Red, 20, 20), 0);
  c.pen.Style = PenStyle::Solid;
  c.LineTo(15, 10);
  EXPECT_EQ(c.Pixel(15, 3), Red);
}

TEST(CanvasTest, WideLinesAreExactlyTheirWidthThick) {
  for (int width : {2, 5, 6, 7, 10}) {
    QImage image = NewBitmap(60, 60);
    Canvas c(image);
    c.pen.Color = Red;
    c.pen.Width = width;
    c.MoveTo(15, 30);
    c.LineTo(45, 30);
    EXPECT_EQ(ColumnRun(c, Red, 30, 60), width) << width;
    QImage upright = NewBitmap(60, 60);
    Canvas u(upright);
    u.pen = c.pen;
    u.MoveTo(30, 10);
    u.LineTo(30, 50);
    int run = 0;
    for (int x = 0; x < 60; ++x) run += u.Pixel(x, 30) == Red;
    EXPECT_EQ(run, width) << width;
  }
}

TEST(CanvasTest, WideLinesHaveRoundCaps) {
  QImage image = NewBitmap(60, 60);
  Canvas c(image);
  c.pen.Color = Red;
  c.pen.Width = 7;
  c.MoveTo(20, 30);
  c.LineTo(40, 30);
  // The caps reach 3 pixels beyond both ends on the axis, but their corners are cut.
  EXPECT_EQ(c.Pixel(43, 30), Red);
  EXPECT_EQ(c.Pixel(44, 30), 0u);
  EXPECT_EQ(c.Pixel(17, 30), Red);
  EXPECT_EQ(c.Pixel(16, 30), 0u);
  EXPECT_EQ(c.Pixel(43, 27), 0u);
  EXPECT_EQ(c.Pixel(43, 33), 0u);
  EXPECT_EQ(c.Pixel(17, 27), 0u);
  EXPECT_EQ(c.Pixel(40, 27), Red);  // the cap's full height at the end point itself
  // Symmetric about the line's middle column.
  for (int y = 20; y < 40; ++y)
    for (int d = 0; d < 15; ++d) EXPECT_EQ(c.Pixel(30 - d, y), c.Pixel(30 + d, y));
}

TEST(CanvasTest, RectangleIsRightAndBottomExclusive) {
  QImage image = NewBitmap(30, 30);
  Canvas c(image);
  c.pen.Color = Red;
  c.brush.Color = Blue;
  c.Rectangle(10, 10, 20, 15);
  EXPECT_EQ(c.Pixel(10, 10), Red);
  EXPECT_EQ(c.Pixel(19, 10), Red);
  EXPECT_EQ(c.Pixel(19, 14), Red);
  EXPECT_EQ(c.Pixel(10, 14), Red);
  EXPECT_EQ(c.Pixel(20, 12), 0u);
  EXPECT_EQ(c.Pixel(15, 15), 0u);
  EXPECT_EQ(c.Pixel(11, 11), Blue);
  EXPECT_EQ(c.Pixel(18, 13), Blue);
  EXPECT_EQ(CountColor(c, Red, 30, 30), 2 * 10 + 2 * 3);
  EXPECT_EQ(CountColor(c, Blue, 30, 30), 8 * 3);
}

TEST(CanvasTest, ClearPenRectangleIsOnlyTheFill) {
  QImage image = NewBitmap(30, 30);
  Canvas c(image);
  c.pen.Style = PenStyle::Clear;
  c.pen.Color = Red;
  c.brush.Color = Blue;
  c.Rectangle(10, 10, 20, 15);
  EXPECT_EQ(CountColor(c, Blue, 30, 30), 50);
  EXPECT_EQ(c.Pixel(10, 10), Blue);
  EXPECT_EQ(c.Pixel(19, 14), Blue);
  EXPECT_EQ(c.Pixel(20, 14), 0u);
  EXPECT_EQ(c.Pixel(19, 15), 0u);
}

TEST(CanvasTest, FillRectUsesTheBrushNotThePen) {
  QImage image = NewBitmap(30, 30);
  Canvas c(image);
  c.pen.Color = Red;
  c.brush.Color = Blue;
  c.FillRect({3, 4, 7, 9});
  EXPECT_EQ(CountColor(c, Blue, 30, 30), 4 * 5);
  EXPECT_EQ(CountColor(c, Red, 30, 30), 0);
  EXPECT_EQ(c.Pixel(3, 4), Blue);
  EXPECT_EQ(c.Pixel(6, 8), Blue);
  EXPECT_EQ(c.Pixel(7, 8), 0u);
  c.FillRect({5, 5, 5, 20});  // empty
  EXPECT_EQ(CountColor(c, Blue, 30, 30), 4 * 5);
}

TEST(CanvasTest, BowtiePolygonFillsTwoTriangles) {
  QImage image = NewBitmap(30, 30);
  Canvas c(image);
  c.pen.Style = PenStyle::Clear;
  c.brush.Color = Blue;
  const std::array<QPoint, 4> bowtie = {QPoint(0, 0), QPoint(20, 20), QPoint(20, 0), QPoint(0, 20)};
  c.Polygon(bowtie);
  EXPECT_EQ(c.Pixel(2, 10), Blue);
  EXPECT_EQ(c.Pixel(18, 10), Blue);
  EXPECT_EQ(c.Pixel(10, 2), 0u);
  EXPECT_EQ(c.Pixel(10, 17), 0u);
  EXPECT_EQ(c.Pixel(20, 10), 0u);  // the right edge is exclusive
  // A pixel is inside when its centre is: on a left edge counts, on a right edge does not.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      const bool left = cx < std::min(cy, 20 - cy);
      const bool right = cx >= std::max(cy, 20 - cy);
      EXPECT_EQ(c.Pixel(x, y), left || right ? Blue : 0u) << x << "," << y;
    }
  }
}

TEST(CanvasTest, PolygonUsesTheAlternateRule) {
  // A five-pointed star drawn in one stroke: its centre is wound twice and stays empty.
  QImage image = NewBitmap(100, 100);
  Canvas c(image);
  c.pen.Style = PenStyle::Clear;
  c.brush.Color = Blue;
  std::array<QPoint, 5> star;
  for (int k = 0; k < 5; ++k) {
    const double a = -std::numbers::pi / 2 + k * 4 * std::numbers::pi / 5;
    star[std::size_t(k)] =
        QPoint(50 + int(std::lround(45 * std::cos(a))), 50 + int(std::lround(45 * std::sin(a))));
  }
  c.Polygon(star);
  EXPECT_EQ(c.Pixel(50, 50), 0u);
  EXPECT_EQ(c.Pixel(50, 12), Blue);  // inside the top point
  EXPECT_EQ(c.Pixel(50, 2), 0u);
}

TEST(CanvasTest, PolygonOutlineWithThePen) {
  QImage image = NewBitmap(30, 30);
  Canvas c(image);
  c.pen.Color = Red;
  c.brush.Color = Blue;
  const std::array<QPoint, 4> square = {QPoint(5, 5), QPoint(15, 5), QPoint(15, 15), QPoint(5, 15)};
  c.Polygon(square);
  EXPECT_EQ(c.Pixel(5, 5), Red);
  EXPECT_EQ(c.Pixel(15, 15), Red);
  EXPECT_EQ(c.Pixel(15, 5), Red);
  EXPECT_EQ(c.Pixel(10, 15), Red);
  EXPECT_EQ(c.Pixel(10, 10), Blue);
  EXPECT_EQ(CountColor(c, Red, 30, 30), 40);
}

TEST(CanvasTest, PatternBrushIsTiledFromTheImageOrigin) {
  const QImage pattern = Pattern8();
  QImage image = NewBitmap(40, 40);
  Canvas c(image);
  c.pen.Style = PenStyle::Clear;
  c.brush.Pattern = &pattern;
  const std::array<QPoint, 4> quad = {QPoint(5, 6), QPoint(31, 4), QPoint(33, 30), QPoint(7, 33)};
  c.Polygon(quad);
  const TColor p12 = FromQRgb(pattern.pixel(1, 2));
  EXPECT_EQ(c.Pixel(9, 10), p12);
  EXPECT_EQ(c.Pixel(17, 18), p12);
  EXPECT_EQ(c.Pixel(25, 10), p12);
  for (int y = 12; y < 28; ++y)
    for (int x = 12; x < 28; ++x) EXPECT_EQ(c.Pixel(x, y), FromQRgb(pattern.pixel(x % 8, y % 8)));

  QImage other = NewBitmap(40, 40);
  Canvas f(other);
  f.brush.Pattern = &pattern;
  f.FillRect({3, 3, 20, 20});
  EXPECT_EQ(f.Pixel(9, 10), p12);
  EXPECT_EQ(f.Pixel(3, 3), FromQRgb(pattern.pixel(3, 3)));
}

TEST(CanvasTest, DrawingIsClippedToTheImage) {
  QImage image = NewBitmap(20, 20);
  Canvas c(image);
  c.pen.Color = Red;
  c.MoveTo(-10, -10);
  c.LineTo(10, 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(c.Pixel(i, i), Red);
  EXPECT_EQ(CountColor(c, Red, 20, 20), 10);

  c.MoveTo(-1000000, 15);
  c.LineTo(1000000, 15);
  for (int x = 0; x < 20; ++x) EXPECT_EQ(c.Pixel(x, 15), Red);

  c.pen.Width = 6;
  c.MoveTo(-30, -30);
  c.LineTo(-5, -5);  // wholly outside
  c.pen.Width = 1;
  c.brush.Color = Blue;
  c.Rectangle(-5, -5, 3, 3);
  EXPECT_EQ(c.Pixel(0, 0), Blue);  // the outline lies outside
  EXPECT_EQ(c.Pixel(2, 2), Red);
  c.SetPixel(-1, 0, White);
  c.SetPixel(20, 0, White);
  c.SetPixel(0, 20, White);
  EXPECT_EQ(CountColor(c, White, 20, 20), 0);
  EXPECT_EQ(c.Pixel(-1, 0), 0u);
  EXPECT_EQ(c.Pixel(0, 20), 0u);
  c.SetPixel(19, 19, White);
  EXPECT_EQ(c.Pixel(19, 19), White);
}

TEST(CanvasTest, CopyModesCombineTheBits) {
  QImage src = NewBitmap(4, 4);
  src.fill(ToQRgb(RGB(0xF0, 0x0F, 0x33)));
  QImage dst = NewBitmap(10, 10);
  dst.fill(ToQRgb(RGB(0x3C, 0xFF, 0x0F)));
  Canvas c(dst);
  c.CopyRect(0, 0, 2, 2, src, 0, 0, CopyMode::SrcCopy);
  c.CopyRect(3, 0, 2, 2, src, 0, 0, CopyMode::SrcAnd);
  c.CopyRect(6, 0, 2, 2, src, 0, 0, CopyMode::SrcPaint);
  EXPECT_EQ(c.Pixel(1, 1), RGB(0xF0, 0x0F, 0x33));
  EXPECT_EQ(c.Pixel(4, 1), RGB(0x30, 0x0F, 0x03));
  EXPECT_EQ(c.Pixel(7, 1), RGB(0xFC, 0xFF, 0x3F));
  EXPECT_EQ(c.Pixel(2, 1), RGB(0x3C, 0xFF, 0x0F));
  EXPECT_EQ(c.Pixel(5, 1), RGB(0x3C, 0xFF, 0x0F));
  EXPECT_EQ(c.Pixel(7, 2), RGB(0x3C, 0xFF, 0x0F));
  EXPECT_EQ(qAlpha(dst.pixel(7, 1)), 255);
}

TEST(CanvasTest, CopyRectClipsSourceAndDestination) {
  QImage src = NewBitmap(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.setPixel(x, y, ToQRgb(RGB(x + 1, y + 1, 9)));
  QImage dst = NewBitmap(6, 6);
  Canvas c(dst);
  // Source starting left of the picture: only its columns 0..1 arrive, at x = 2..3.
  c.CopyRect(0, 0, 4, 1, src, -2, 0);
  EXPECT_EQ(c.Pixel(0, 0), 0u);
  EXPECT_EQ(c.Pixel(1, 0), 0u);
  EXPECT_EQ(c.Pixel(2, 0), RGB(1, 1, 9));
  EXPECT_EQ(c.Pixel(3, 0), RGB(2, 1, 9));
  // Destination off the top left: the visible corner shows source (2, 2).
  c.CopyRect(-2, -2, 4, 4, src, 0, 0);
  EXPECT_EQ(c.Pixel(0, 0), RGB(3, 3, 9));
  EXPECT_EQ(c.Pixel(1, 1), RGB(4, 4, 9));
  // Past the bottom right, and past the source's end.
  c.CopyRect(4, 4, 10, 10, src, 2, 2);
  EXPECT_EQ(c.Pixel(4, 4), RGB(3, 3, 9));
  EXPECT_EQ(c.Pixel(5, 5), RGB(4, 4, 9));
  c.CopyRect(0, 5, 4, 1, src, 3, 0);
  EXPECT_EQ(c.Pixel(0, 5), RGB(4, 1, 9));
  EXPECT_EQ(c.Pixel(1, 5), 0u);
}

TEST(CanvasTest, CopyRectWithinOnePicture) {
  QImage image = NewBitmap(8, 1);
  for (int x = 0; x < 8; ++x) image.setPixel(x, 0, ToQRgb(RGB(x + 1, 0, 0)));
  Canvas c(image);
  c.CopyRect(2, 0, 6, 1, image, 0, 0);
  for (int x = 2; x < 8; ++x) EXPECT_EQ(c.Pixel(x, 0), RGB(x - 1, 0, 0));
}

TEST(CanvasTest, StretchDrawIsNearestNeighbour) {
  QImage column = NewBitmap(1, 2);
  column.setPixel(0, 0, ToQRgb(Red));
  column.setPixel(0, 1, ToQRgb(Blue));
  QImage image = NewBitmap(12, 6);
  Canvas c(image);
  c.StretchDraw({1, 1, 11, 5}, column, {0, 0, 1, 2});
  for (int x = 1; x < 11; ++x) {
    EXPECT_EQ(c.Pixel(x, 1), Red);
    EXPECT_EQ(c.Pixel(x, 2), Red);
    EXPECT_EQ(c.Pixel(x, 3), Blue);
    EXPECT_EQ(c.Pixel(x, 4), Blue);
    EXPECT_EQ(c.Pixel(x, 5), 0u);
  }
  EXPECT_EQ(c.Pixel(0, 2), 0u);
  EXPECT_EQ(c.Pixel(11, 2), 0u);

  QImage pair = NewBitmap(2, 1);
  pair.setPixel(0, 0, ToQRgb(Red));
  pair.setPixel(1, 0, ToQRgb(Blue));
  QImage wide = NewBitmap(4, 1);
  Canvas w(wide);
  w.StretchDraw({-2, 0, 6, 1}, pair, {0, 0, 2, 1});  // clipped on both sides
  EXPECT_EQ(w.Pixel(0, 0), Red);
  EXPECT_EQ(w.Pixel(1, 0), Red);
  EXPECT_EQ(w.Pixel(2, 0), Blue);
  EXPECT_EQ(w.Pixel(3, 0), Blue);
}

TEST(CanvasTest, TextIsWhiteInsideItsCellAtTheFontSize) {
  QImage image = NewBitmap(400, 120);
  Canvas c(image);
  c.font.Name = QStringLiteral("Arial");
  c.font.Size = 30;
  c.font.Color = White;
  c.TextOut(30, 30, QStringLiteral("FPS: 60"));
  int top = 1000, bottom = -1, left = 1000, whites = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 400; ++x) {
      const TColor p = c.Pixel(x, y);
      if (p == 0) continue;
      EXPECT_EQ(GetRValue(p), GetGValue(p));  // grey levels of white, nothing else
      EXPECT_EQ(GetRValue(p), GetBValue(p));
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

TEST(CanvasTest, TextBackgroundIsTransparent) {
  QImage image = NewBitmap(200, 60);
  image.fill(ToQRgb(RGB(0, 80, 0)));
  Canvas c(image);
  c.font.Size = 30;
  c.font.Color = White;
  c.TextOut(10, 10, QStringLiteral("L:   R: "));
  c.TextOut(10, 10, QStringLiteral("  *"));
  EXPECT_EQ(c.Pixel(0, 0), RGB(0, 80, 0));
  EXPECT_EQ(c.Pixel(199, 59), RGB(0, 80, 0));
  // The cell's top rows lie above the capitals: the background shows through.
  for (int x = 0; x < 200; ++x) EXPECT_EQ(c.Pixel(x, 11), RGB(0, 80, 0)) << x;
  int marked = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) marked += c.Pixel(x, y) == White;
  EXPECT_GT(marked, 50);
}

}  // namespace
