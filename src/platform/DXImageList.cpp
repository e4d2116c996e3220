#include "platform/DXImageList.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/AppError.h"
#include "platform/Types.h"

namespace slatewick {

const QString LaidChalkSpriteName = QStringLiteral("チョーク横");

const TPictureCollectionItem* TDXImageList::Find(const QString& name) const {
  for (const TPictureCollectionItem& item : items_) {
    if (item.Name == name) return &item;
  }
  return nullptr;
}

namespace {

constexpr int ChalkLength = 52;
constexpr int ChalkThickness = 11;

// The chalk colours in tray order.
constexpr std::array<TColor, 6> SpriteChalkColors = {RGB(255, 255, 255), RGB(255, 252, 30),
                                                     RGB(233, 135, 193), RGB(130, 200, 230),
                                                     RGB(180, 140, 75),  RGB(85, 150, 85)};

// The colour scaled by f, never pure black (black is transparent).
QRgb Tone(TColor c, double f) {
  const auto scale = [f](int v) { return std::max(1, int(std::lround(v * f))); };
  return ToQRgb(RGB(scale(GetRValue(c)), scale(GetGValue(c)), scale(GetBValue(c))));
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

void DrawStick(QImage& picture, int left, TColor color) {
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

TPictureCollectionItem MakeLaidChalkSprite() {
  TPictureCollectionItem item;
  item.Name = LaidChalkSpriteName;
  item.PatternWidth = ChalkLength;
  item.PatternHeight = ChalkThickness;
  item.Picture =
      QImage(ChalkLength * int(SpriteChalkColors.size()), ChalkThickness, QImage::Format_RGB32);
  item.Picture.fill(0xFF000000u);
  for (std::size_t i = 0; i < SpriteChalkColors.size(); ++i) {
    DrawStick(item.Picture, ChalkLength * int(i), SpriteChalkColors[i]);
  }
  return item;
}

void DrawSpriteRotated(QImage& target, const TDXImageList& list, const QString& name, int x, int y,
                       int width, int height, int frame, double centerX, double centerY,
                       int angle) {
  const TPictureCollectionItem* item = list.Find(name);
  if (!item) throw AppError(QStringLiteral("画像 '") + name + QStringLiteral("' が見つかりません"));
  if (frame < 0 || frame >= item->PatternCount() || width <= 0 || height <= 0) return;
  if (item->PatternHeight <= 0 || target.isNull()) return;
  if (target.depth() != 32) target = target.convertToFormat(QImage::Format_RGB32);
  const QImage sprite = item->Picture.depth() == 32
                            ? item->Picture
                            : item->Picture.convertToFormat(QImage::Format_RGB32);

  // Quarter turns are exact so that upright and mirrored chalks keep their pixels.
  const int turn = ((angle % 256) + 256) % 256;
  const double a = turn * 2.0 * std::numbers::pi / 256.0;
  double c = std::cos(a), s = std::sin(a);
  if (turn % 64 == 0) {
    c = turn == 0 ? 1 : turn == 128 ? -1 : 0;
    s = turn == 64 ? 1 : turn == 192 ? -1 : 0;
  }

  // The picture's (centerX, centerY) point sits on the centre of target pixel (x, y).
  const double px = x + 0.5, py = y + 0.5;
  const double cx = width * centerX, cy = height * centerY;
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
  const int frameLeft = frame * item->PatternWidth;
  for (int ty = top; ty <= bottom; ++ty) {
    QRgb* row = reinterpret_cast<QRgb*>(target.scanLine(ty));
    const double oy = ty + 0.5 - py;
    for (int tx = left; tx <= right; ++tx) {
      const double ox = tx + 0.5 - px;
      const double u = cx + ox * c + oy * s, v = cy - ox * s + oy * c;
      if (u < 0 || v < 0 || u >= width || v >= height) continue;
      const int sx =
          frameLeft + std::min(item->PatternWidth - 1, int(u * item->PatternWidth / width));
      const int sy = std::min(item->PatternHeight - 1, int(v * item->PatternHeight / height));
      if (sy >= sprite.height()) continue;
      const QRgb p = reinterpret_cast<const QRgb*>(sprite.constScanLine(sy))[sx];
      if (p & 0x00FFFFFFu) row[tx] = p | 0xFF000000u;
    }
  }
}

}  // namespace slatewick
