#pragma once
#include <QRgb>
#include <cstdint>

namespace slatewick {

// Colours are stored as the board stores them: 0x00BBGGRR (red in the low byte).
using Colour = std::uint32_t;

constexpr Colour Rgb(int r, int g, int b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
  return int(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
  return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
  return int((c >> 16) & 0xFF);
}

// The one place where board colours meet Qt's 0xAARRGGBB pixels.
constexpr QRgb ToQRgb(Colour c) {
  return 0xFF000000u | (QRgb(RedOf(c)) << 16) | (QRgb(GreenOf(c)) << 8) | QRgb(BlueOf(c));
}
constexpr Colour FromQRgb(QRgb p) {
  return Rgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace slatewick
