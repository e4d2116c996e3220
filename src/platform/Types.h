#pragma once
#include <QRgb>
#include <algorithm>
#include <cstdint>

namespace slatewick {

// Colours are stored as the board stores them: 0x00BBGGRR (red in the low byte).
using TColor = std::uint32_t;

constexpr TColor RGB(int r, int g, int b) {
  return TColor(r & 0xFF) | (TColor(g & 0xFF) << 8) | (TColor(b & 0xFF) << 16);
}
constexpr int GetRValue(TColor c) {
  return int(c & 0xFF);
}
constexpr int GetGValue(TColor c) {
  return int((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c) {
  return int((c >> 16) & 0xFF);
}

// The one place where board colours meet Qt's 0xAARRGGBB pixels.
constexpr QRgb ToQRgb(TColor c) {
  return 0xFF000000u | (QRgb(GetRValue(c)) << 16) | (QRgb(GetGValue(c)) << 8) | QRgb(GetBValue(c));
}
constexpr TColor FromQRgb(QRgb p) {
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A rectangle in pixels: left <= x < right, top <= y < bottom.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  // Whether the two share a pixel: their intersection has positive width and height.
  bool Overlaps(const TRect& o) const {
    return std::max(Left, o.Left) < std::min(Right, o.Right) &&
           std::max(Top, o.Top) < std::min(Bottom, o.Bottom);
  }
  // Whether the pixel (x, y) lies inside: the rectangle overlaps that pixel's own.
  bool Contains(int x, int y) const { return Overlaps({x, y, x + 1, y + 1}); }
  bool operator==(const TRect&) const = default;
};

}  // namespace slatewick
