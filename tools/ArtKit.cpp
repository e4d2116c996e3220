#include "ArtKit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::uint64_t Rng::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

double Rng::Unit() {
  return double(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double Rng::Range(double lo, double hi) {
  return lo + (hi - lo) * Unit();
}

int Rng::Below(int n) {
  return int(Unit() * n);
}

ValueNoise::ValueNoise(std::uint64_t seed, double cellX, double cellY)
    : seed_(seed), cellX_(cellX), cellY_(cellY) {}

double ValueNoise::Lattice(int ix, int iy) const {
  std::uint64_t h = seed_ ^ (std::uint64_t(std::uint32_t(ix)) * 0x9E3779B97F4A7C15ull) ^
                    (std::uint64_t(std::uint32_t(iy)) * 0xC2B2AE3D27D4EB4Full);
  Rng r(h);
  r.Next();
  return r.Unit();
}

double ValueNoise::At(double x, double y) const {
  const double fx = x / cellX_, fy = y / cellY_;
  const int ix = int(std::floor(fx)), iy = int(std::floor(fy));
  double tx = fx - ix, ty = fy - iy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = Lattice(ix, iy), b = Lattice(ix + 1, iy);
  const double c = Lattice(ix, iy + 1), d = Lattice(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, double f) {
  return {c.r * f, c.g * f, c.b * f};
}

Rgb FromPixel(QRgb p) {
  return {double(qRed(p)), double(qGreen(p)), double(qBlue(p))};
}

QRgb ToPixel(Rgb c) {
  auto channel = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
  int r = channel(c.r), g = channel(c.g), b = channel(c.b);
  if (r == 0 && g == 0 && b == 0) r = g = b = 1;
  return qRgb(r, g, b);
}

float Mask::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= w || y >= h) return 0.0f;
  return v[std::size_t(y) * w + x];
}

float Mask::Sample(double x, double y) const {
  const int ix = int(std::floor(x)), iy = int(std::floor(y));
  const float tx = float(x - ix), ty = float(y - iy);
  const float top = At(ix, iy) + (At(ix + 1, iy) - At(ix, iy)) * tx;
  const float bottom = At(ix, iy + 1) + (At(ix + 1, iy + 1) - At(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

Mask RenderMask(int w, int h, const std::function<void(QPainter&)>& draw) {
  QImage canvas(w, h, QImage::Format_RGB32);
  canvas.fill(Qt::black);
  {
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    draw(p);
  }
  Mask m{w, h, std::vector<float>(std::size_t(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m.v[std::size_t(y) * w + x] = qRed(canvas.pixel(x, y)) / 255.0f;
  return m;
}

QImage BlackPicture(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::black);
  return img;
}

void PaintMask(QImage& img, int ox, int oy, const Mask& m,
               const std::function<Rgb(int, int)>& shade,
               const std::function<Rgb(int, int)>& edge) {
  for (int y = 0; y < m.h; ++y) {
    for (int x = 0; x < m.w; ++x) {
      const float c = m.At(x, y);
      const int px = ox + x, py = oy + y;
      if (c < 0.5f || px < 0 || py < 0 || px >= img.width() || py >= img.height()) continue;
      const QRgb under = img.pixel(px, py);
      const Rgb behind = (under & 0xFFFFFF) ? FromPixel(under) : edge(x, y);
      img.setPixel(px, py, ToPixel(Mix(behind, shade(x, y), 0.2 + 0.8 * c)));
    }
  }
}

void DarkenRim(QImage& img, int ox, int oy, const Mask& m, double factor) {
  for (int y = 0; y < m.h; ++y) {
    for (int x = 0; x < m.w; ++x) {
      const int px = ox + x, py = oy + y;
      if (m.At(x, y) < 0.5f || px < 0 || py < 0 || px >= img.width() || py >= img.height() ||
          (img.pixel(px, py) & 0xFFFFFF) == 0)
        continue;
      const bool rim = m.At(x - 1, y) < 0.5f || m.At(x + 1, y) < 0.5f || m.At(x, y - 1) < 0.5f ||
                       m.At(x, y + 1) < 0.5f;
      if (rim) img.setPixel(px, py, ToPixel(Scale(FromPixel(img.pixel(px, py)), factor)));
    }
  }
}

void SaveBmp(const QImage& img, const QString& path) {
  if (!img.convertToFormat(QImage::Format_RGB32).save(path, "BMP"))
    throw std::runtime_error("cannot write " + path.toStdString());
}
