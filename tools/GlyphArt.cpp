// The date glyphs and the menu button, written in chalk on a black (transparent) sheet.
#include <QFont>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "Assets.h"

namespace {

constexpr Rgb kChalkWhite{242, 243, 236};

// Glyph outline of `text`, its ink box centred on `centre`, at most `maxW` x `maxH`,
// turned by `degrees`.
QPainterPath GlyphPath(const QString& text, double pixelSize, QPointF centre, double maxW,
                       double maxH, double degrees) {
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(int(pixelSize));
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF box = path.boundingRect();
  const double sx = std::min(1.0, maxW / box.width()), sy = std::min(1.0, maxH / box.height());
  QTransform t;
  t.translate(centre.x(), centre.y());
  t.rotate(degrees);
  t.scale(sx, sy);
  t.translate(-box.center().x(), -box.center().y());
  return t.map(path);
}

// Writes the shape in `ink` into the w x h cell at (ox, oy) as chalk: the outline wobbles
// like a hand-drawn line, the stroke is grainy and breaks up towards its edges so that the
// board shows through. The outermost row and column of the cell stay black.
void WriteChalk(QImage& img, int ox, int oy, int w, int h, const Mask& ink, std::uint64_t seed) {
  const ValueNoise wobbleX(seed * 7 + 1, 13, 13), wobbleY(seed * 7 + 2, 13, 13);
  const ValueNoise clumps(seed * 7 + 3, 2.2, 2.2), streaks(seed * 7 + 4, 1.4, 5);
  const ValueNoise tone(seed * 7 + 5, 6, 6);
  Rng rng(seed * 7 + 6);
  for (int y = 1; y < h - 1; ++y) {
    for (int x = 1; x < w - 1; ++x) {
      const double dx = 2.4 * (wobbleX.At(x, y) - 0.5), dy = 2.4 * (wobbleY.At(x, y) - 0.5);
      const double c = ink.Sample(x + dx, y + dy);
      const double noise = 0.55 * (clumps.At(x, y) - 0.5) + 0.45 * (streaks.At(x, y) - 0.5) +
                           0.7 * (rng.Unit() - 0.5);
      const double a = c - 0.5 + noise;
      if (c < 0.03 || a < 0) continue;
      const double t = std::clamp(0.5 + 0.8 * a + 0.3 * (tone.At(x, y) - 0.5), 0.38, 0.97);
      img.setPixel(ox + x, oy + y, ToPixel(Mix(kBoardGreen, kChalkWhite, t)));
    }
  }
}

// A handwritten digit as the path of the chalk's tip, in a unit box (x right, y down).
QPainterPath DigitStrokes(int d) {
  QPainterPath p;
  switch (d) {
    case 0:
      p.moveTo(0.55, 0.02);
      p.cubicTo(-0.12, 0.0, -0.1, 1.02, 0.5, 1.0);
      p.cubicTo(1.1, 0.98, 1.08, -0.02, 0.45, 0.04);
      break;
    case 1:
      p.moveTo(0.18, 0.2);
      p.lineTo(0.58, 0.0);
      p.lineTo(0.56, 1.0);
      break;
    case 2:
      p.moveTo(0.05, 0.22);
      p.cubicTo(0.12, -0.06, 0.95, -0.08, 0.92, 0.28);
      p.cubicTo(0.88, 0.52, 0.3, 0.72, 0.02, 0.99);
      p.lineTo(1.0, 0.98);
      break;
    case 3:
      p.moveTo(0.06, 0.1);
      p.cubicTo(0.35, -0.06, 0.95, -0.02, 0.88, 0.24);
      p.cubicTo(0.82, 0.42, 0.55, 0.46, 0.32, 0.47);
      p.cubicTo(0.92, 0.47, 1.06, 0.72, 0.9, 0.88);
      p.cubicTo(0.7, 1.06, 0.22, 1.02, 0.0, 0.86);
      break;
    case 4:
      p.moveTo(0.7, 1.0);
      p.lineTo(0.7, 0.0);
      p.lineTo(0.0, 0.7);
      p.lineTo(1.0, 0.69);
      break;
    case 5:
      p.moveTo(0.92, 0.02);
      p.lineTo(0.22, 0.02);
      p.lineTo(0.12, 0.44);
      p.cubicTo(0.5, 0.32, 0.98, 0.42, 0.96, 0.7);
      p.cubicTo(0.94, 0.98, 0.36, 1.06, 0.02, 0.87);
      break;
    case 6:
      p.moveTo(0.82, 0.04);
      p.cubicTo(0.45, -0.06, 0.04, 0.22, 0.05, 0.66);
      p.cubicTo(0.06, 1.04, 0.95, 1.04, 0.95, 0.68);
      p.cubicTo(0.95, 0.34, 0.22, 0.36, 0.06, 0.62);
      break;
    case 7:
      p.moveTo(0.0, 0.16);
      p.lineTo(0.02, 0.02);
      p.lineTo(0.98, 0.02);
      p.cubicTo(0.7, 0.34, 0.46, 0.62, 0.4, 1.0);
      break;
    case 8:
      p.moveTo(0.8, 0.12);
      p.cubicTo(0.6, -0.06, 0.1, 0.0, 0.14, 0.24);
      p.cubicTo(0.2, 0.46, 0.98, 0.5, 0.96, 0.76);
      p.cubicTo(0.94, 1.04, 0.04, 1.04, 0.04, 0.76);
      p.cubicTo(0.04, 0.5, 0.88, 0.44, 0.86, 0.22);
      p.cubicTo(0.85, 0.1, 0.78, 0.08, 0.72, 0.06);
      break;
    default:
      p.moveTo(0.92, 0.28);
      p.cubicTo(0.92, -0.08, 0.06, -0.08, 0.06, 0.3);
      p.cubicTo(0.06, 0.62, 0.9, 0.6, 0.93, 0.2);
      p.cubicTo(0.94, 0.5, 0.86, 0.8, 0.78, 1.0);
      break;
  }
  return p;
}

// A glyph's mask: the path traced with a pen `weight` pixels wide; with `filled` its inside
// too (a font's outline thickened to a chalk-wide stroke).
Mask GlyphMask(int w, int h, const QPainterPath& path, double weight, bool filled) {
  return RenderMask(w, h, [&](QPainter& p) {
    p.setPen(QPen(Qt::white, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (!filled) p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  });
}

// The menu button: a little framed slate standing in the tray, three chalk lines on it.
void DrawMenuButton(QImage& img, int ox, int oy) {
  const ValueNoise grain(0xB7, 20, 1.8), smudge(0xB8, 9, 9);
  const QRectF outer(5.5, 4.5, 53, 40), inner(10, 9, 44, 31);
  const Mask frame = RenderMask(64, 64, [&](QPainter& p) { p.drawRoundedRect(outer, 3, 3); });
  PaintMask(
      img, ox, oy, frame,
      [&](int x, int y) {
        double light = 0.95 + 0.12 * (grain.At(x, y * 3) - 0.5);
        if (y <= 6)
          light = 1.25;  // lit top edge
        else if (y >= 41)
          light = 0.7;  // shadowed lower edge
        if (x <= 7) light *= 0.9;
        if (x >= 56) light *= 0.78;
        return Scale(Rgb{176, 124, 72}, light);
      },
      [](int, int y) { return y < 8 ? kBoardGreen : TrayRow(y - 8); });
  DarkenRim(img, ox, oy, frame, 0.6);

  const Mask slate = RenderMask(64, 64, [&](QPainter& p) { p.drawRect(inner); });
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      if (slate.At(x, y) < 0.5f) continue;
      double light = 1 + 0.25 * (smudge.At(x, y) - 0.5);
      if (y == 9 || x == 10) light = 0.55;  // the frame's shadow on the slate
      img.setPixel(ox + x, oy + y, ToPixel(Scale(Rgb{10, 64, 22}, light)));
    }
  }

  const Mask lines = RenderMask(64, 64, [](QPainter& p) {
    p.setPen(QPen(Qt::white, 4.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 16.5), QPointF(46.5, 15.5));
    p.drawLine(QPointF(17.5, 24.5), QPointF(47, 24.5));
    p.drawLine(QPointF(17, 32.5), QPointF(46, 33));
  });
  WriteChalk(img, ox, oy, 64, 64, lines, 0xB9);
}

}  // namespace

QImage MakeGlyphSheet() {
  QImage img = BlackPicture(512, 128);
  Rng rng(0x3D);

  for (int d = 0; d < 10; ++d) {
    QTransform t;
    t.translate(16 + rng.Range(-0.6, 0.6), 32 + rng.Range(-1, 1));
    t.rotate(rng.Range(-3, 3));
    t.translate(-10.5, -22);
    t.scale(21, 44);
    WriteChalk(img, 32 * d, 0, 32, 64, GlyphMask(32, 64, t.map(DigitStrokes(d)), 5.6, false),
               100 + d);
  }

  const QString marks[2] = {QStringLiteral("月"), QStringLiteral("日")};
  for (int k = 0; k < 2; ++k) {
    const QPointF centre(32 + rng.Range(-1, 1), 32 + rng.Range(-1, 1));
    const QPainterPath path = GlyphPath(marks[k], 54, centre, 52, 52, rng.Range(-3, 3));
    WriteChalk(img, 320 + 64 * k, 0, 64, 64, GlyphMask(64, 64, path, 2.8, true), 200 + k);
  }

  const QString days = QStringLiteral("日月火水木金土");
  for (int w = 0; w < 7; ++w) {
    const QPointF centre(32 + rng.Range(-1, 1), 32 + rng.Range(-1, 1));
    const QPainterPath path = GlyphPath(days.mid(w, 1), 54, centre, 52, 52, rng.Range(-3, 3));
    WriteChalk(img, 64 * w, 64, 64, 64, GlyphMask(64, 64, path, 2.8, true), 300 + w);
  }

  DrawMenuButton(img, 448, 64);
  return img;
}
