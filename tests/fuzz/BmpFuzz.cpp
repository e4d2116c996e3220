#include <cstdint>
#include <cstdlib>

#include "platform/BmpReader.h"

using namespace slatewick;

// Any bytes as a BMP file: either a picture within the caps or a refusal with a reason.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const BmpReadResult read = DecodeBmp(QByteArrayView(data, qsizetype(size)));
  if (read.picture.isNull() == read.refusal.isEmpty()) std::abort();
  const QImage& p = read.picture;
  if (!p.isNull() && (p.format() != QImage::Format_RGB32 || p.width() > kBmpMaxSide ||
                      p.height() > kBmpMaxSide || qint64(p.width()) * p.height() > kBmpMaxPixels))
    std::abort();
  return 0;
}
