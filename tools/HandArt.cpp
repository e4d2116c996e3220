// The chalk held for writing and the pointing hand.
#include <QLineF>
#include <algorithm>
#include <cmath>

#include "Assets.h"

namespace {

constexpr Rgb kSkin{240, 192, 154};
constexpr Rgb kNail{248, 216, 204};

// A round-ended bar from a to b, `radius` thick on each side.
Mask Capsule(int w, int h, QPointF a, QPointF b, double radius) {
  return RenderMask(w, h, [&](QPainter& p) {
    p.setPen(QPen(Qt::white, 2 * radius, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a, b);
  });
}

// Signed offset of (x, y) across the line a -> b, in units of `radius` (-1 .. 1 inside),
// and the position along it from a (0) to b (1).
void Across(QPointF a, QPointF b, double radius, double x, double y, double& across,
            double& along) {
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  const double ux = d.x() / len, uy = d.y() / len;
  const double px = x + 0.5 - a.x(), py = y + 0.5 - a.y();
  along = (px * ux + py * uy) / len;
  across = std::clamp((px * -uy + py * ux) / radius, -1.0, 1.0);
}

// Light on a rounded limb: brightest a little left of its middle, darker to the sides.
double LimbLight(double across) {
  const double n = across + 0.25;
  return 1.04 - 0.32 * n * n;
}

Rgb SkinAt(double across, double grain) {
  return Scale(kSkin, LimbLight(across) + grain);
}

// A finger inside the w x h picture at (ox, oy); `nailSide` is where its nail sits across it
// (-1 .. 1, 0 = in the middle).
void PaintFinger(QImage& img, int ox, int oy, int w, int h, QPointF tip, QPointF base,
                 double radius, const ValueNoise& grain, double nailSide) {
  const Mask m = Capsule(w, h, tip, base, radius);
  const double len = QLineF(tip, base).length();
  auto shade = [&](int x, int y) {
    double across, along;
    Across(tip, base, radius, x, y, across, along);
    Rgb c = SkinAt(across, 0.05 * (grain.At(x, y) - 0.5));
    const double fromTip = along * len;  // pixels from the tip's centre towards the base
    const double offNail = std::abs(across - nailSide);
    if (fromTip > -radius + 1.2 && fromTip < radius * 1.3 && offNail < 0.5)
      c = Scale(kNail, offNail > 0.34 || fromTip > radius * 1.1 ? 0.9 : 1.0);
    return c;
  };
  PaintMask(img, ox, oy, m, shade, [](int, int) { return kBoardGreen; });
  DarkenRim(img, ox, oy, m, 0.72);
}

}  // namespace

QImage MakeHeldChalks() {
  QImage img = BlackPicture(240, 40);
  // The stick runs from the worn tip near (3, 3) out past the lower right corner.
  const QPointF tip(5.6, 5.6), end(52, 52);
  const double radius = 4.8;
  const Mask stick = Capsule(40, 40, tip, end, radius);
  // Thumb and forefinger pinch the stick from both sides, pointing towards the tip.
  const QPointF thumbTip(18.5, 28.5), thumbBase(33, 54);
  const QPointF indexTip(27.5, 18.5), indexBase(54, 36);
  const ValueNoise skinGrain(0x51, 3, 3);
  for (int j = 0; j < 6; ++j) {
    const Rgb base = kChalkColours[j];
    const ValueNoise grain(0xC0 + j, 4, 4);
    Rng rng(0xC8 + j);
    std::vector<double> speck(40 * 40);
    for (double& s : speck) s = rng.Range(-0.04, 0.04);
    auto shade = [&](int x, int y) {
      double across, along;
      Across(tip, end, radius, x, y, across, along);
      const double n = across - 0.15;  // the light comes from the upper right side
      double light = 1.02 - 0.4 * n * n;
      const double fromTip = along * QLineF(tip, end).length();
      if (fromTip < 0.5) light += 0.06;  // dusty, worn tip
      const double g = 0.1 * (grain.At(x, y) - 0.5) + speck[y * 40 + x];
      Rgb c = light > 1 ? Mix(base, {255, 255, 255}, light - 1) : Scale(base, light);
      return Scale(c, 1 + g);
    };
    const int ox = 40 * j;
    PaintMask(img, ox, 0, stick, shade, [](int, int) { return kBoardGreen; });
    DarkenRim(img, ox, 0, stick, 0.8);
    PaintFinger(img, ox, 0, 40, 40, indexTip, indexBase, 5.6, skinGrain, -0.3);
    PaintFinger(img, ox, 0, 40, 40, thumbTip, thumbBase, 6.0, skinGrain, 0.3);
  }
  return img;
}

QImage MakeHand() {
  QImage img = BlackPicture(24, 74);
  const ValueNoise grain(0x4A, 3, 3);
  auto rimTone = [](int, int) { return Scale(kSkin, 0.6); };

  // Three fingers curled into the palm, their middle joints showing to the right.
  const QRectF curled(9, 24.5, 14.5, 24);
  const Mask curl = RenderMask(24, 74, [&](QPainter& p) { p.drawRoundedRect(curled, 5, 5); });
  PaintMask(
      img, 0, 0, curl,
      [&](int x, int y) {
        const double row = std::fmod(y + 0.5 - curled.top(), 8.0);  // one finger every 8 rows
        double light = 1.0 - 0.018 * std::pow(row - 4, 2) - 0.012 * std::max(0, x - 18);
        if (row < 1 && y > 27) light = 0.74;  // the gap between two fingers
        return Scale(kSkin, light + 0.05 * (grain.At(x, y) - 0.5));
      },
      rimTone);
  DarkenRim(img, 0, 0, curl, 0.74);

  // The index finger pointing straight up, the nail at the top.
  const QPointF tip(7.5, 5.8), base(7.5, 52);
  const Mask finger = Capsule(24, 74, tip, base, 5.6);
  PaintMask(
      img, 0, 0, finger,
      [&](int x, int y) {
        double across, along;
        Across(tip, base, 5.6, x, y, across, along);
        Rgb c = SkinAt(across, 0.05 * (grain.At(x, y) - 0.5));
        if ((y == 17 || y == 30) && std::abs(across) < 0.55) c = Scale(c, 0.86);  // joint creases
        if (y >= 1 && y <= 10 && std::abs(across) < 0.6)
          c = Scale(kNail, y == 10 || std::abs(across) > 0.42 ? 0.9 : 1.0);
        return c;
      },
      rimTone);
  DarkenRim(img, 0, 0, finger, 0.72);
  // The back of the hand over the fingers' roots, running out of the picture at the bottom.
  const Mask back =
      RenderMask(24, 74, [](QPainter& p) { p.drawRoundedRect(QRectF(0.5, 43, 23, 44), 6, 6); });
  PaintMask(
      img, 0, 0, back,
      [&](int x, int y) {
        const double across = (x + 0.5 - 12) / 11.5;
        const double light = LimbLight(across) - 0.003 * (y - 43);
        return Scale(kSkin, light + 0.05 * (grain.At(x, y) - 0.5));
      },
      rimTone);
  DarkenRim(img, 0, 0, back, 0.8);

  return img;
}
