#include <gtest/gtest.h>

#include "board/Pixels.h"
#include "board/Unit_Ext.h"
#include "platform/Canvas.h"

namespace slatewick {

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

// Every pixel of the 10 x 8 board is compared with what the masked copy must leave.
TEST(UnitExtTest, MaskedBlitPaintsAllButPureBlackAndIsClippedAtBothPictures) {
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
    MaskedBlit(dst, b.x, b.y, b.w, b.h, b.src, b.sx, b.sy);
    EXPECT_TRUE(SamePixels(dst, MaskedCopy(Board(), b.x, b.y, b.w, b.h, b.src, b.sx, b.sy)));
  }
}

TEST(UnitExtTest, RectsOverlapOnlyWhenTheyShareAPixel) {
  const struct {
    const char* name;
    TRect a, b;
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
  for (const auto& p : pairs) EXPECT_EQ(RectsOverlap(p.a, p.b), p.overlap) << p.name;
}

}  // namespace

}  // namespace slatewick
