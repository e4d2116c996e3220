#pragma once
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <functional>
#include <vector>

// Small drawing kit for the asset generator: a seeded random generator, smooth noise,
// colours in floating point and coverage masks painted onto black (= transparent) pictures.
// Everything is deterministic: the same seeds give the same pictures on every run.

// splitmix64: a tiny generator with a fixed seed, so the assets are reproducible.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  double Unit();                       // uniform in [0, 1)
  double Range(double lo, double hi);  // uniform in [lo, hi)
  int Below(int n);                    // uniform whole number 0 .. n - 1

 private:
  std::uint64_t state_;
};

// Value noise on a square lattice with smooth interpolation; values in [0, 1].
// cellX, cellY: lattice spacing in pixels (different values stretch the grain).
class ValueNoise {
 public:
  ValueNoise(std::uint64_t seed, double cellX, double cellY);
  double At(double x, double y) const;

 private:
  double Lattice(int ix, int iy) const;
  std::uint64_t seed_;
  double cellX_, cellY_;
};

// A colour with channels 0..255 as doubles, so shading can be computed without rounding.
struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, t = 1 gives b
Rgb Scale(Rgb c, double f);
Rgb FromPixel(QRgb p);
// Rounds and clamps; never returns pure black, which the program treats as transparent.
QRgb ToPixel(Rgb c);

constexpr Rgb kBoardGreen{0, 80, 0};
constexpr Rgb kChalkColours[6] = {{255, 255, 255}, {255, 252, 30}, {233, 135, 193},
                                  {130, 200, 230}, {180, 140, 75}, {85, 150, 85}};

// Coverage of a shape per pixel, 0 (outside) .. 1 (inside).
struct Mask {
  int w = 0, h = 0;
  std::vector<float> v;
  float At(int x, int y) const;
  float Sample(double x, double y) const;  // bilinear; 0 outside the mask
};

// Paints with `draw` (white on black, antialiased) into a w x h mask.
Mask RenderMask(int w, int h, const std::function<void(QPainter&)>& draw);

// A picture of the given size, every pixel pure black.
QImage BlackPicture(int w, int h);

// Puts the masked shape onto `img` at (ox, oy). Pixels with coverage below one half stay
// as they are, so outlines are hard. Partly covered pixels at the rim are blended a little
// towards what lies beneath, or towards `edge(x, y)` where the picture is still black
// (the colour the piece will be seen on). `shade(x, y)` gives the colour inside, in mask
// coordinates.
void PaintMask(QImage& img, int ox, int oy, const Mask& m,
               const std::function<Rgb(int, int)>& shade, const std::function<Rgb(int, int)>& edge);

// Darkens by `factor` the pixels of the shape that touch its outside (4-neighbours).
void DarkenRim(QImage& img, int ox, int oy, const Mask& m, double factor);

// Writes a 24-bit BMP; throws std::runtime_error when the file cannot be written.
void SaveBmp(const QImage& img, const QString& path);
