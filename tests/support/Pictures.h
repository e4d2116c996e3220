#pragma once
// Pictures whose every pixel tells (a board of many colours, flat colour blocks), and how they
// are compared.
#include <gtest/gtest.h>

#include <QImage>

namespace slatewick {

// A board of many colours, so that any shifted, flipped or lost pixel shows.
inline QImage PatternBoard(int seed) {
  QImage board(800, 432, QImage::Format_RGB32);
  for (int y = 0; y < board.height(); ++y)
    for (int x = 0; x < board.width(); ++x)
      board.setPixel(x, y, qRgb((x + seed) & 0xFF, (y * 3 + seed) & 0xFF, (x ^ y) & 0xFF));
  return board;
}

// Flat 32 x 32 blocks of strong colours: JPEG keeps such blocks nearly exact.
inline QImage Blocks(int width, int height) {
  static const QRgb colours[] = {qRgb(255, 0, 0),     qRgb(0, 255, 0),    qRgb(0, 0, 255),
                                 qRgb(0, 80, 0),      qRgb(255, 252, 30), qRgb(233, 135, 193),
                                 qRgb(255, 255, 255), qRgb(0, 0, 0)};
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, colours[(x / 32 + 3 * (y / 32)) % 8]);
  return picture;
}

// The two pictures are the same size and equal pixel for pixel.
inline ::testing::AssertionResult SamePixels(const QImage& a, const QImage& b) {
  if (a.size() != b.size())
    return ::testing::AssertionFailure() << "sizes differ: " << a.width() << "x" << a.height()
                                         << " and " << b.width() << "x" << b.height();
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return ::testing::AssertionFailure() << "differs at " << x << "," << y;
  return ::testing::AssertionSuccess();
}

// What a masked copy of src's w x h rectangle at (sx, sy) to (x, y) of board leaves: each
// source pixel inside src that is not pure black replaces the board pixel under it (where
// inside the board); everything else stays.
inline QImage MaskedCopy(QImage board, int x, int y, int w, int h, const QImage& src, int sx,
                         int sy) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (!src.rect().contains(sx + i, sy + j) || !board.rect().contains(x + i, y + j)) continue;
      const QRgb ink = src.pixel(sx + i, sy + j);
      if ((ink & 0xFFFFFFu) != 0) board.setPixel(x + i, y + j, ink);
    }
  return board;
}

}  // namespace slatewick
