#include <cstdint>
#include <cstdlib>

#include "platform/BmpReader.h"

using namespace slatewick;

// Any bytes as a BMP file: either a picture within the caps or a refusal with a reason. Read as
// a board (800 x 432 only), the same bytes give the same picture or refusal, except that a
// picture of another size is refused for its size.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(data, qsizetype(size));
  const BmpReadResult read = DecodeBmp(bytes);
  if (read.picture.isNull() == read.refusal.isEmpty() || read.wrongSize) std::abort();
  const QImage& p = read.picture;
  if (!p.isNull() && (p.format() != QImage::Format_RGB32 || p.width() > kBmpMaxSide ||
                      p.height() > kBmpMaxSide || qint64(p.width()) * p.height() > kBmpMaxPixels))
    std::abort();
  const QSize board(800, 432);
  const BmpReadResult asBoard = DecodeBmp(bytes, {board, board});
  const bool otherSize = !p.isNull() && p.size() != board;
  if (asBoard.wrongSize != otherSize || asBoard.picture.isNull() == asBoard.refusal.isEmpty())
    std::abort();
  if (!otherSize && (asBoard.picture != p || asBoard.refusal != read.refusal)) std::abort();
  return 0;
}
