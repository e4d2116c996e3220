#pragma once
// Pictures whose every pixel tells: a board of many colours and flat colour blocks.
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

}  // namespace slatewick
