#pragma once
#include <algorithm>

namespace slatewick {

// A rectangle in pixels: left <= x < right, top <= y < bottom.
struct Rect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // Whether the two share a pixel: their intersection has positive width and height.
  bool Overlaps(const Rect& o) const {
    return std::max(Left, o.Left) < std::min(Right, o.Right) &&
           std::max(Top, o.Top) < std::min(Bottom, o.Bottom);
  }
  // Whether the pixel (x, y) lies inside: the rectangle overlaps that pixel's own.
  bool Contains(int x, int y) const { return Overlaps({x, y, x + 1, y + 1}); }
  bool operator==(const Rect&) const = default;
};

}  // namespace slatewick
