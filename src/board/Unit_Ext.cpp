#include "board/Unit_Ext.h"

#include <algorithm>

namespace slatewick {

namespace {

bool Is32Bit(const QImage& image) {
  const auto f = image.format();
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
         f == QImage::Format_ARGB32_Premultiplied;
}

}  // namespace

void MaskedBlit(QImage& dst, int x, int y, int width, int height, const QImage& src, int srcX,
                int srcY) {
  if (width <= 0 || height <= 0 || dst.isNull() || src.isNull()) return;
  if (!Is32Bit(dst)) dst = dst.convertToFormat(QImage::Format_RGB32);
  // Read from a 32-bit snapshot when the source is in another layout or is dst itself.
  QImage holder;
  const QImage* from = &src;
  if (!Is32Bit(src)) {
    holder = src.convertToFormat(QImage::Format_RGB32);
    from = &holder;
  } else if (src.constBits() == dst.constBits()) {
    holder = src.copy();
    from = &holder;
  }
  const int cutLeft = std::max({0, -srcX, -x});
  const int cutTop = std::max({0, -srcY, -y});
  x += cutLeft, srcX += cutLeft, width -= cutLeft;
  y += cutTop, srcY += cutTop, height -= cutTop;
  width = std::min({width, from->width() - srcX, dst.width() - x});
  height = std::min({height, from->height() - srcY, dst.height() - y});
  // (dst AND mask) OR src: a black source pixel leaves dst as it is, any other replaces it.
  for (int row = 0; row < height; ++row) {
    const QRgb* s = reinterpret_cast<const QRgb*>(from->constScanLine(srcY + row)) + srcX;
    QRgb* d = reinterpret_cast<QRgb*>(dst.scanLine(y + row)) + x;
    for (int i = 0; i < width; ++i) {
      if (s[i] & 0x00FFFFFFu) d[i] = s[i] | 0xFF000000u;
    }
  }
}

bool RectsOverlap(const TRect& a, const TRect& b) {
  return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) &&
         std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

}  // namespace slatewick
