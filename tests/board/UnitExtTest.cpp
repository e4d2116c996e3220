#include <gtest/gtest.h>

#include "board/Unit_Ext.h"
#include "platform/Canvas.h"

namespace {

constexpr QRgb Green = 0xFF005000u;

// A 6 x 4 picture of distinct colours, none of them black.
QImage Colourful() {
  QImage image = NewBitmap(6, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) image.setPixel(x, y, qRgb(40 * x + 10, 60 * y + 5, 200));
  return image;
}

QImage Board(int w = 10, int h = 8) {
  QImage image = NewBitmap(w, h);
  image.fill(Green);
  return image;
}

TEST(UnitExtTest, MaskedBlitWithoutBlackIsAnExactCopy) {
  const QImage src = Colourful();
  QImage dst = Board();
  MaskedBlit(dst, 2, 3, 6, 4, src, 0, 0);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 8 && y >= 3 && y < 7;
      EXPECT_EQ(dst.pixel(x, y), inside ? src.pixel(x - 2, y - 3) : Green) << x << "," << y;
    }
  }
}

TEST(UnitExtTest, MaskedBlitOfAllBlackChangesNothing) {
  const QImage src = NewBitmap(6, 4);
  QImage dst = Board();
  const QImage before = dst.copy();
  MaskedBlit(dst, 1, 1, 6, 4, src, 0, 0);
  EXPECT_EQ(dst, before);
}

TEST(UnitExtTest, MaskedBlitLeavesOutOnlyPureBlack) {
  QImage src = Colourful();
  src.setPixel(1, 1, qRgb(0, 0, 0));
  src.setPixel(2, 1, qRgb(1, 0, 0));  // nearly black still covers
  src.setPixel(3, 1, qRgb(0, 0, 1));
  QImage dst = Board();
  MaskedBlit(dst, 0, 0, 6, 4, src, 0, 0);
  EXPECT_EQ(dst.pixel(1, 1), Green);
  EXPECT_EQ(dst.pixel(2, 1), qRgb(1, 0, 0));
  EXPECT_EQ(dst.pixel(3, 1), qRgb(0, 0, 1));
  EXPECT_EQ(dst.pixel(0, 1), src.pixel(0, 1));
  EXPECT_EQ(dst.pixel(4, 3), src.pixel(4, 3));
}

TEST(UnitExtTest, MaskedBlitCopiesASubRectangle) {
  const QImage src = Colourful();
  QImage dst = Board();
  MaskedBlit(dst, 5, 5, 2, 2, src, 3, 1);
  EXPECT_EQ(dst.pixel(5, 5), src.pixel(3, 1));
  EXPECT_EQ(dst.pixel(6, 6), src.pixel(4, 2));
  EXPECT_EQ(dst.pixel(7, 6), Green);
  EXPECT_EQ(dst.pixel(6, 7), Green);
  EXPECT_EQ(dst.pixel(4, 5), Green);
}

TEST(UnitExtTest, MaskedBlitIsClippedAtTheEdges) {
  const QImage src = Colourful();
  QImage dst = Board();
  // Off the top left of the destination: source (2, 1) lands on (0, 0).
  MaskedBlit(dst, -2, -1, 6, 4, src, 0, 0);
  EXPECT_EQ(dst.pixel(0, 0), src.pixel(2, 1));
  EXPECT_EQ(dst.pixel(3, 2), src.pixel(5, 3));
  EXPECT_EQ(dst.pixel(4, 0), Green);
  EXPECT_EQ(dst.pixel(0, 3), Green);

  // Off the bottom right of the destination.
  QImage right = Board();
  MaskedBlit(right, 8, 6, 6, 4, src, 0, 0);
  EXPECT_EQ(right.pixel(8, 6), src.pixel(0, 0));
  EXPECT_EQ(right.pixel(9, 7), src.pixel(1, 1));
  EXPECT_EQ(right.pixel(7, 7), Green);

  // A source rectangle reaching past the source picture on both sides.
  QImage wide = Board();
  MaskedBlit(wide, 0, 0, 10, 2, src, -2, 3);
  EXPECT_EQ(wide.pixel(0, 0), Green);
  EXPECT_EQ(wide.pixel(1, 0), Green);
  EXPECT_EQ(wide.pixel(2, 0), src.pixel(0, 3));
  EXPECT_EQ(wide.pixel(7, 0), src.pixel(5, 3));
  EXPECT_EQ(wide.pixel(8, 0), Green);
  EXPECT_EQ(wide.pixel(2, 1), Green);

  QImage untouched = Board();
  MaskedBlit(untouched, 20, 0, 6, 4, src, 0, 0);
  MaskedBlit(untouched, 0, 0, 0, 4, src, 0, 0);
  EXPECT_EQ(untouched, Board());
}

TEST(UnitExtTest, MaskedBlitReadsOtherPictureFormats) {
  QImage src(2, 1, QImage::Format_RGB888);
  src.setPixel(0, 0, qRgb(0, 0, 0));
  src.setPixel(1, 0, qRgb(9, 8, 7));
  QImage dst = Board();
  MaskedBlit(dst, 0, 0, 2, 1, src, 0, 0);
  EXPECT_EQ(dst.pixel(0, 0), Green);
  EXPECT_EQ(dst.pixel(1, 0), qRgb(9, 8, 7));
}

TEST(UnitExtTest, RectsTouchingAlongAnEdgeDoNotOverlap) {
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {10, 0, 20, 10}));
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {0, 10, 10, 20}));
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {10, 10, 20, 20}));
  EXPECT_TRUE(RectsOverlap({0, 0, 10, 10}, {9, 9, 20, 20}));
}

TEST(UnitExtTest, ContainedRectsOverlap) {
  EXPECT_TRUE(RectsOverlap({0, 0, 100, 100}, {10, 10, 20, 20}));
  EXPECT_TRUE(RectsOverlap({10, 10, 20, 20}, {0, 0, 100, 100}));
  EXPECT_TRUE(RectsOverlap({5, 5, 6, 6}, {5, 5, 6, 6}));
}

TEST(UnitExtTest, EmptyRectsNeverOverlap) {
  EXPECT_FALSE(RectsOverlap({5, 5, 5, 20}, {0, 0, 100, 100}));
  EXPECT_FALSE(RectsOverlap({0, 0, 100, 100}, {5, 5, 20, 5}));
  EXPECT_FALSE(RectsOverlap({20, 20, 10, 10}, {0, 0, 100, 100}));
  EXPECT_FALSE(RectsOverlap({0, 0, 10, 10}, {30, 30, 40, 40}));
}

}  // namespace
