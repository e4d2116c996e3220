#include "platform/UpdateRects.h"

namespace slatewick {

namespace {

long long Area(const QRect& r) {
  return (long long)r.width() * r.height();
}

}  // namespace

std::vector<QRect> UpdateRects(std::vector<QRect> rects) {
  if (rects.size() > std::size_t(MaxMerged)) {
    QRect box;
    for (const QRect& r : rects) box |= r;
    return {box};
  }
  // Each merge shortens the list, so the passes end.
  for (bool merged = true; merged;) {
    merged = false;
    for (std::size_t i = 0; i < rects.size(); ++i)
      for (std::size_t j = i + 1; j < rects.size();) {
        const QRect both = rects[i] | rects[j];
        if (Area(both) > Area(rects[i]) + Area(rects[j]) + RequestPixels) {
          ++j;
          continue;
        }
        rects[i] = both;
        rects.erase(rects.begin() + std::ptrdiff_t(j));
        merged = true;
        j = i + 1;  // the grown rectangle may now take in earlier ones
      }
  }
  return rects;
}

}  // namespace slatewick
