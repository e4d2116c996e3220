#include "board/Unit_Ext.h"

#include <algorithm>

#include "platform/Canvas.h"

namespace slatewick {

void MaskedBlit(QImage& dst, int x, int y, int width, int height, const QImage& src, int srcX,
                int srcY) {
  Canvas c(dst);
  c.MaskedCopy(x, y, width, height, src, srcX, srcY);
}

bool RectsOverlap(const TRect& a, const TRect& b) {
  return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) &&
         std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

}  // namespace slatewick
