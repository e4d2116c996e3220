#include "board/Hand.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace slatewick {

namespace {

// Table index of an angle in degrees: 256ths of a turn, sign dropped.
int AngleIndex(int angle) {
  return Nearest(std::abs(angle) / 360.0 * 256.0) % 256;
}

const std::array<double, 256>& Cosines() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> cosines{};
    for (int i = 0; i < 256; ++i)
      cosines[std::size_t(i)] = std::cos(2.0 * std::numbers::pi * i / 256.0);
    return cosines;
  }();
  return table;
}

}  // namespace

int Nearest(double x) {
  return int(std::nearbyint(x));
}

int CosOffset(int radius, int angle) {
  return Nearest(Cosines()[std::size_t(AngleIndex(angle))] * radius);
}

int SinOffset(int radius, int angle) {
  return Nearest(Cosines()[std::size_t((AngleIndex(angle) + 192) % 256)] * radius);
}

Colour ShadeColor(Colour color, int dR, int dG, int dB) {
  const int r = std::max(RedOf(color) - dR, 0);
  int g = std::max(GreenOf(color) - dG, 0);
  const int b = std::max(BlueOf(color) - dB, 0);
  if ((color == Rgb(255, 252, 30) || color == Rgb(233, 135, 193)) && g < 80) g = 80;
  return Rgb(r, g, b);
}

}  // namespace slatewick
