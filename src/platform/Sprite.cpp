#include "platform/Sprite.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/Colour.h"
#include "platform/Rect.h"

namespace slatewick {

namespace {

constexpr int ChalkLength = 52;
constexpr int ChalkThickness = 11;

// The chalk colours in tray order.
constexpr std::array<Colour, 6> SpriteChalkColors = {Rgb(255, 255, 255), Rgb(255, 252, 30),
                                                     Rgb(233, 135, 193), Rgb(130, 200, 230),
                                                     Rgb(180, 140, 75),  Rgb(85, 150, 85)};

// The colour scaled by f, never pure black (black is transparent).
QRgb Tone(Colour c, double f) {
  const auto scale = [f](int v) { return std::max(1, int(std::lround(v * f))); };
  return ToQRgb(Rgb(scale(RedOf(c)), scale(GreenOf(c)), scale(BlueOf(c))));
}

// Inside the stick's side outline: a 52 x 11 bar whose corners are rounded with radius 4.
bool InBar(int x, int y) {
  if (x < 0 || y < 0 || x >= ChalkLength || y >= ChalkThickness) return false;
  constexpr double r = 4.0;
  const double cx = x + 0.5, cy = y + 0.5;
  const double nx = std::clamp(cx, r, ChalkLength - r), ny = std::clamp(cy, r, ChalkThickness - r);
  return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) <= r * r;
}

// The left end face, seen slightly from the side: a narrow upright ellipse on the bar.
bool InFace(int x, int y) {
  constexpr double cx = 4.0, cy = ChalkThickness / 2.0, rx = 2.6, ry = 4.6;
  const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

bool OnEdge(bool (*inside)(int, int), int x, int y) {
  return inside(x, y) &&
         (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1));
}

// A few chalky rough spots, the same in every frame.
bool RoughSpot(int x, int y) {
  if (x < 9 || x > ChalkLength - 5 || y < 2 || y > 6) return false;
  const unsigned h = (unsigned(x) * 73856093u) ^ (unsigned(y) * 19349663u);
  return h % 29 == 0;
}

void DrawStick(QImage& picture, int left, Colour color) {
  const QRgb body = Tone(color, 1.0), light = Tone(color, 0.84), mid = Tone(color, 0.68),
             dark = Tone(color, 0.5);
  for (int y = 0; y < ChalkThickness; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(picture.scanLine(y)) + left;
    for (int x = 0; x < ChalkLength; ++x) {
      if (!InBar(x, y)) continue;
      QRgb c = body;
      if (OnEdge(InBar, x, y)) {
        // Lit from above: the upper rim is the lightest tone, the ends darker, the lower
        // rim the darkest.
        c = y == 0 ? light : y == ChalkThickness - 1 ? dark : mid;
      } else if (OnEdge(InFace, x, y)) {
        c = mid;
      } else if (InFace(x, y)) {
        c = body;
      } else if (y >= ChalkThickness - 3 || RoughSpot(x, y)) {
        c = light;  // the round underside turns away from the light
      }
      row[x] = c;
    }
  }
}

}  // namespace

int Sprite::FrameCount() const {
  return frameWidth > 0 ? picture.width() / frameWidth : 0;
}

const Sprite& LaidChalkSprite() {
  static const Sprite sprite = [] {
    Sprite laid;
    laid.frameWidth = ChalkLength;
    laid.frameHeight = ChalkThickness;
    laid.picture =
        QImage(ChalkLength * int(SpriteChalkColors.size()), ChalkThickness, QImage::Format_RGB32);
    laid.picture.fill(0xFF000000u);
    for (std::size_t i = 0; i < SpriteChalkColors.size(); ++i)
      DrawStick(laid.picture, ChalkLength * int(i), SpriteChalkColors[i]);
    return laid;
  }();
  return sprite;
}

void DrawSpriteRotated(QImage& target, const Sprite& item, int x, int y, int frame, int angle) {
  const int width = item.frameWidth, height = item.frameHeight;
  if (frame < 0 || frame >= item.FrameCount() || width <= 0 || height <= 0) return;
  if (target.isNull()) return;
  if (target.depth() != 32) target = target.convertToFormat(QImage::Format_RGB32);
  const QImage sprite = item.picture.depth() == 32
                            ? item.picture
                            : item.picture.convertToFormat(QImage::Format_RGB32);

  // Quarter turns are exact so that upright and mirrored chalks keep their pixels.
  const int turn = ((angle % 256) + 256) % 256;
  const double a = turn * 2.0 * std::numbers::pi / 256.0;
  double c = std::cos(a), s = std::sin(a);
  if (turn % 64 == 0) {
    c = turn == 0 ? 1 : turn == 128 ? -1 : 0;
    s = turn == 64 ? 1 : turn == 192 ? -1 : 0;
  }

  // The frame's centre sits on the centre of target pixel (x, y).
  const double px = x + 0.5, py = y + 0.5;
  const double cx = width * 0.5, cy = height * 0.5;
  double minX = px, maxX = px, minY = py, maxY = py;
  for (const double dx : {-cx, width - cx}) {
    for (const double dy : {-cy, height - cy}) {
      minX = std::min(minX, px + dx * c - dy * s), maxX = std::max(maxX, px + dx * c - dy * s);
      minY = std::min(minY, py + dx * s + dy * c), maxY = std::max(maxY, py + dx * s + dy * c);
    }
  }
  const int left = std::max(0, int(std::floor(minX)));
  const int right = std::min(target.width() - 1, int(std::ceil(maxX)));
  const int top = std::max(0, int(std::floor(minY)));
  const int bottom = std::min(target.height() - 1, int(std::ceil(maxY)));

  // Each target pixel takes the picture pixel that the inverse rotation puts under its centre.
  const int frameLeft = frame * width;
  for (int ty = top; ty <= bottom; ++ty) {
    QRgb* row = reinterpret_cast<QRgb*>(target.scanLine(ty));
    const double oy = ty + 0.5 - py;
    for (int tx = left; tx <= right; ++tx) {
      const double ox = tx + 0.5 - px;
      const double u = cx + ox * c + oy * s, v = cy - ox * s + oy * c;
      if (u < 0 || v < 0 || u >= width || v >= height) continue;
      const int sx = frameLeft + std::min(width - 1, int(u));
      const int sy = std::min(height - 1, int(v));
      if (sy >= sprite.height()) continue;
      const QRgb p = reinterpret_cast<const QRgb*>(sprite.constScanLine(sy))[sx];
      if (p & 0x00FFFFFFu) row[tx] = p | 0xFF000000u;
    }
  }
}

}  // namespace slatewick
