#pragma once
// Colours and pixel checks shared by the board's tests. Rectangles are [left, right) x
// [top, bottom); colours are Colour (0x00BBGGRR).
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include "platform/Colour.h"
#include "platform/Rect.h"
#include "support/Pictures.h"

namespace slatewick {

constexpr Colour kBoard = Rgb(0, 80, 0);       // the board's green
constexpr Colour kWhite = Rgb(255, 255, 255);  // the first chalk
constexpr Colour kSmudge = Rgb(3, 83, 3);      // what finger and eraser leave with LeaveSmudge
constexpr QRgb kBlackPixel = 0xFF000000u;      // pure black: a masked copy leaves it out

inline Colour At(const QImage& image, int x, int y) {
  return FromQRgb(image.pixel(x, y));
}

// Every pixel of the rectangle is c.
inline ::testing::AssertionResult AllOf(const QImage& image, int left, int top, int right,
                                        int bottom, Colour c) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (At(image, x, y) != c)
        return ::testing::AssertionFailure() << "differs at " << x << "," << y;
  return ::testing::AssertionSuccess();
}

// Every non-black pixel of src's w x h rectangle at (sx, sy) shows at (x, y) of frame (where
// inside it), and at least one was compared.
inline ::testing::AssertionResult ShowsMasked(const QImage& frame, int x, int y, const QImage& src,
                                              int sx, int sy, int w, int h) {
  int compared = 0;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const QRgb p = src.pixel(sx + i, sy + j);
      if (p == kBlackPixel || !frame.rect().contains(x + i, y + j)) continue;
      ++compared;
      if (frame.pixel(x + i, y + j) != p)
        return ::testing::AssertionFailure() << "differs at " << x + i << "," << y + j;
    }
  if (compared == 0) return ::testing::AssertionFailure() << "nothing to compare";
  return ::testing::AssertionSuccess();
}

// The frame's rectangle below the board (y >= 432) shows only the tray band: each row the
// colour of that row of the tray picture.
inline bool TrayBandAt(const QImage& frame, const QImage& tray, int left, int top, int right,
                       int bottom) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (frame.pixel(x, y) != tray.pixel(0, y - 432)) return false;
  return true;
}

}  // namespace slatewick
