// The wooden chalk tray, the chalk pieces lying in it and the eraser.
#include <cmath>

#include "Assets.h"

namespace {

struct Key {
  int row;
  Rgb colour;
};

// Cross-section of the ledge from the board's lower edge down: lit top lip, back wall,
// the groove where the chalks lie (rows 16..30), the lit front lip, the shadowed front.
constexpr Key kTrayKeys[] = {
    {0, {70, 44, 24}},    {1, {214, 170, 118}},  {2, {196, 150, 98}},   {4, {168, 120, 72}},
    {12, {142, 98, 56}},  {14, {96, 64, 36}},    {15, {58, 38, 21}},    {16, {74, 49, 28}},
    {19, {104, 71, 41}},  {24, {122, 85, 50}},   {29, {134, 94, 56}},   {30, {118, 82, 48}},
    {31, {188, 144, 94}}, {32, {222, 182, 130}}, {33, {200, 156, 104}}, {35, {146, 102, 60}},
    {42, {112, 76, 43}},  {45, {88, 58, 33}},    {46, {64, 42, 24}},    {47, {40, 26, 15}},
};

// Vertical shading of a lying cylinder: dark bottom rim, a highlight a third from the top.
double CylinderLight(double v) {
  const double n = 2 * v - 1;  // -1 top .. 1 bottom
  const double facing = std::sqrt(std::max(0.0, 1 - n * n));
  const double highlight = std::exp(-std::pow((v - 0.3) / 0.16, 2));
  return 0.58 + 0.36 * facing + 0.12 * highlight - 0.06 * std::max(0.0, n);
}

Rgb ChalkShade(Rgb base, double light, double grain) {
  Rgb c = light > 1 ? Mix(base, {255, 255, 255}, light - 1) : Scale(base, light);
  return Scale(c, 1 + grain);
}

}  // namespace

Rgb TrayRow(int y) {
  if (y <= kTrayKeys[0].row) return kTrayKeys[0].colour;
  for (std::size_t i = 1; i < std::size(kTrayKeys); ++i) {
    if (y <= kTrayKeys[i].row) {
      const Key& a = kTrayKeys[i - 1];
      const Key& b = kTrayKeys[i];
      return Mix(a.colour, b.colour, double(y - a.row) / (b.row - a.row));
    }
  }
  return kTrayKeys[std::size(kTrayKeys) - 1].colour;
}

QImage MakeTray() {
  QImage img = BlackPicture(64, 48);
  Rng rng(0x7A4E);
  for (int y = 0; y < 48; ++y) {
    const double grain = rng.Range(-0.05, 0.05);
    const QRgb p = ToPixel(Scale(TrayRow(y), 1 + grain));
    for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, p);
  }
  return img;
}

QImage MakeChalkPieces() {
  QImage img = BlackPicture(312, 11);
  // A stick with a nearly square left end (the end face shows) and a worn, rounder right end.
  const Mask m = RenderMask(52, 11, [](QPainter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(0.4, 0.3, 51.2, 10.4), 2.4, 2.4);
    QPainterPath worn;
    worn.addRoundedRect(QRectF(30, 0.3, 21.6, 10.4), 5.2, 4.6);
    QPainterPath left;
    left.addRect(QRectF(0, 0, 40, 11));
    p.drawPath(body.intersected(left).united(worn));
  });
  for (int j = 0; j < 6; ++j) {
    const Rgb base = kChalkColours[j];
    const ValueNoise blotch(0xC4A1 + j, 5, 2.5);
    Rng rng(0x5EED + j);
    std::vector<double> speck(52 * 11);
    for (double& s : speck) s = rng.Range(-0.045, 0.045) - (rng.Unit() < 0.05 ? 0.1 : 0);
    auto shade = [&](int x, int y) {
      double light = CylinderLight((y + 0.5) / 11.0);
      // The flat end face at the left: a thin darker oval with a lighter middle.
      const double ex = (x - 2.0) / 2.0, ey = (y - 5.0) / 4.6;
      const double r = ex * ex + ey * ey;
      if (x <= 4 && r < 1.25) light = r > 0.55 ? 0.74 : 0.9;
      const double grain = 0.1 * (blotch.At(x, y) - 0.5) + speck[y * 52 + x];
      return ChalkShade(base, light, grain);
    };
    PaintMask(img, 52 * j, 0, m, shade, [](int, int y) { return TrayRow(18 + y); });
  }
  return img;
}

QImage MakeEraser() {
  QImage img = BlackPicture(128, 72);
  const ValueNoise grain(0xE1, 38, 1.6);
  const ValueNoise fine(0xE2, 3, 1);
  const ValueNoise dust(0xE3, 4, 3);
  Rng rng(0xE4);
  std::vector<double> jitter(128 * 72);
  for (double& s : jitter) s = rng.Range(-1, 1);

  // The back, seen from above: the far edge shorter than the near one.
  const Mask top = RenderMask(128, 72, [](QPainter& p) {
    QPainterPath path;
    path.moveTo(12, 2);
    path.lineTo(116, 2);
    path.quadTo(119.5, 2, 120.5, 5);
    path.lineTo(126, 28);
    path.lineTo(2, 28);
    path.lineTo(7.5, 5);
    path.quadTo(8.5, 2, 12, 2);
    p.drawPath(path);
  });
  // The near side: the wooden edge and the pleated felt beneath it.
  const Mask front =
      RenderMask(128, 72, [](QPainter& p) { p.drawRoundedRect(QRectF(2, 27, 124, 44), 2.5, 2.5); });
  const Rgb wood{206, 158, 104};
  auto onTray = [](int, int y) { return y < 30 ? kBoardGreen : TrayRow(y - 30); };

  auto shadeFront = [&](int x, int y) -> Rgb {
    const double j = jitter[y * 128 + x];
    if (y < 43) {  // wooden side, lit along its top edge
      const double light = y == 28 ? 1.2 : y == 29 ? 1.06 : 0.8 - 0.012 * (y - 30);
      return Scale(wood, light * (0.93 + 0.14 * grain.At(x, y * 3)) + 0.02 * j);
    }
    if (y < 46) return Scale(Rgb{96, 66, 40}, 1 - 0.12 * (y - 43));  // shadow under the wood
    // Felt: soft vertical pleats, a blue stripe, chalk dust caught mostly towards the bottom.
    const double pleat = 0.84 + 0.2 * std::cos(x * 2 * M_PI / 6.0);
    Rgb felt = y >= 52 && y < 56 ? Rgb{52, 74, 128} : Rgb{82, 82, 90};
    felt = Scale(felt, pleat * (0.94 + 0.12 * fine.At(x, y)) + 0.03 * j);
    const double dusty = std::clamp((y - 46) / 24.0 * 0.55 + (dust.At(x, y) - 0.5) * 0.6, 0.0, 0.7);
    felt = Mix(felt, {228, 228, 222}, dusty * 0.6);
    if (y >= 69) felt = Scale(felt, 0.7);
    return felt;
  };
  PaintMask(img, 0, 0, front, shadeFront, onTray);
  DarkenRim(img, 0, 0, front, 0.7);

  auto shadeTop = [&](int x, int y) -> Rgb {
    const double j = jitter[y * 128 + x];
    double light = 0.98 + 0.1 * (y - 2) / 26.0;
    // A finger groove along the middle: its far wall shadowed, its near wall lit.
    const bool inGroove = x > 28 && x < 100;
    if (inGroove && (y == 13 || y == 14)) light = 0.7;
    if (inGroove && y == 15) light = 0.84;
    if (inGroove && y == 17) light = 1.14;
    if (y == 2 || x < 4 || x > 123) light *= 0.82;
    const double g = 0.9 + 0.2 * grain.At(x, y * 4.0) + 0.03 * j;
    return Scale(wood, light * g);
  };
  PaintMask(img, 0, 0, top, shadeTop, onTray);
  DarkenRim(img, 0, 0, top, 0.8);
  return img;
}
