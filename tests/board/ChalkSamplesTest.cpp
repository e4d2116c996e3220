// The settings dialog's picture of the three ways of using the chalk, drawn by the board.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>

#include "board/ChalkSamples.h"
#include "board/Hand.h"

namespace slatewick {

namespace {

TEST(ChalkSamples, ShowTheThreeWaysOfTheChalkOnTheirGround) {
  Random random;
  const QImage picture = DrawChalkSamples(random);
  ASSERT_EQ(picture.size(), QSize(267, 73));
  constexpr QRgb ground = ToQRgb(ChalkSamplesGround);
  struct Band {
    int left = 1000, right = -1, top = 1000, bottom = -1, pixels = 0;
    QSet<QRgb> colours;
  };
  std::array<Band, 3> bands;
  for (int y = 0; y < 73; ++y)
    for (int x = 0; x < 267; ++x) {
      const QRgb p = picture.pixel(x, y);
      if (p == ground) continue;
      const int r = qRed(p), g = qGreen(p), b = qBlue(p);
      Band& band = bands[x < 90 ? 0 : x < 190 ? 1 : 2];
      band.left = std::min(band.left, x), band.right = std::max(band.right, x);
      band.top = std::min(band.top, y), band.bottom = std::max(band.bottom, y);
      ++band.pixels;
      band.colours.insert(p);
      if (x < 90) {
        // The flat of the tip: white, evenly darkened a little.
        ASSERT_TRUE(r == g && g == b && r >= 241) << x << "," << y;
      } else {
        // The corner and the laid chalk: the white chalk's shades, green darkened less.
        ASSERT_TRUE(r == b && g == r + 20 && r >= 92 && r <= 191) << x << "," << y;
      }
    }
  // Left to right, each slanting over most of the height.
  EXPECT_EQ(bands[0].left, 26);
  EXPECT_GE(bands[0].right, 50);  // the pen is 5 to 7 pixels wide
  EXPECT_LE(bands[0].right, 51);
  EXPECT_GE(bands[1].left, 123);
  EXPECT_EQ(bands[1].right, 147);
  EXPECT_EQ(bands[2].left, 232);
  EXPECT_EQ(bands[2].right, 246);
  for (const Band& band : bands) EXPECT_GE(band.bottom - band.top, 55);
  // Thick, thin, broad and textured.
  EXPECT_GE(bands[0].pixels, 6 * 60);
  EXPECT_LE(bands[1].pixels, 2 * 61);
  EXPECT_GE(bands[2].pixels, 12 * 55);
  EXPECT_GE(bands[2].colours.size(), 20);
  // The board's specks of its own colour (the ground) lie inside the thick stroke.
  int specks = 0;
  for (int y = 20; y < 50; ++y) {
    int first = -1, last = -1;
    for (int x = 20; x < 60; ++x)
      if (picture.pixel(x, y) != ground) {
        if (first < 0) first = x;
        last = x;
      }
    for (int x = first + 1; x < last; ++x) specks += picture.pixel(x, y) == ground;
  }
  EXPECT_GT(specks, 0);
}

}  // namespace

}  // namespace slatewick
