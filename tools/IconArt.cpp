// The program's icon: a small green board in a wooden frame with a chalk mark on it, and the
// tray with chalk below. Drawn anew for each size, so every edge falls on whole pixels.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "Assets.h"

namespace {

constexpr Rgb kWood{176, 128, 78};
constexpr Rgb kWoodLight{214, 170, 118};
constexpr Rgb kWoodDark{112, 76, 43};
constexpr Rgb kOutline{58, 38, 21};
constexpr Rgb kChalkWhite = kChalkColours[0];
constexpr Rgb kChalkYellow = kChalkColours[1];

int Round(double v) {
  return int(std::lround(v));
}

void Fill(QImage& img, const QRect& r, Rgb colour) {
  const QRgb p = ToPixel(colour);
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) img.setPixel(x, y, p);
}

// The frame around the board: lit from the top left; a dark outline once there is room.
void PaintFrame(QImage& img, const QRect& outer, int thickness, bool outline) {
  Fill(img, outer, kWood);
  for (int i = 0; i < thickness; ++i) {
    const QRect ring = outer.adjusted(i, i, -i, -i);
    Fill(img, QRect(ring.left(), ring.top(), ring.width(), 1), kWoodLight);
    Fill(img, QRect(ring.left(), ring.top(), 1, ring.height()), kWoodLight);
    Fill(img, QRect(ring.left(), ring.bottom(), ring.width(), 1), kWoodDark);
    Fill(img, QRect(ring.right(), ring.top(), 1, ring.height()), kWoodDark);
    if (i == 0 && thickness > 2) i = thickness - 2;  // wide frames: bevels only at the edges
  }
  if (!outline) return;
  const QRect o = outer;
  Fill(img, QRect(o.left(), o.top(), o.width(), 1), kOutline);
  Fill(img, QRect(o.left(), o.bottom(), o.width(), 1), kOutline);
  Fill(img, QRect(o.left(), o.top(), 1, o.height()), kOutline);
  Fill(img, QRect(o.right(), o.top(), 1, o.height()), kOutline);
}

// The board: its own green, with a faint haze of wiped chalk on the larger sizes.
void PaintBoard(QImage& img, const QRect& board, int size) {
  const ValueNoise haze(0x1C0, board.width() / 3.0, board.height() / 4.0);
  for (int y = board.top(); y <= board.bottom(); ++y)
    for (int x = board.left(); x <= board.right(); ++x) {
      const double h = size >= 64 ? 0.05 * haze.At(x - board.left(), y - board.top()) : 0;
      img.setPixel(x, y, ToPixel(Mix(kBoardGreen, kChalkWhite, h)));
    }
}

// A wave written in white chalk across the board, hard-edged like the program's strokes; on
// the larger sizes some pixels keep the board's colour, as chalk skips on the grain.
void PaintMark(QImage& img, const QRect& board, int size) {
  const double w = board.width(), h = board.height();
  const double pen = std::max(1, Round(size / 18.0));
  const Mask m = RenderMask(board.width(), board.height(), [&](QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, size >= 32);
    p.setPen(QPen(Qt::white, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath wave;
    const int steps = 64;
    for (int i = 0; i <= steps; ++i) {
      const double u = double(i) / steps;
      const QPointF at(w * (0.16 + 0.68 * u),
                       h * (0.5 - 0.24 * std::sin(u * 3 * std::numbers::pi)) - 0.5);
      if (i == 0)
        wave.moveTo(at);
      else
        wave.lineTo(at);
    }
    p.drawPath(wave);
  });
  Rng rng(0xC4A1C);
  const double skips = size >= 64 ? 0.12 : 0;
  auto shade = [&](int, int) {
    return rng.Unit() < skips ? Mix(kBoardGreen, kChalkWhite, 0.35) : kChalkWhite;
  };
  PaintMask(img, board.left(), board.top(), m, shade, [](int, int) { return kBoardGreen; });
}

// The tray: a wooden ledge wider than the board, a lit lip on top and its shadowed front.
void PaintTray(QImage& img, const QRect& tray) {
  for (int y = 0; y < tray.height(); ++y) {
    const Rgb row = y == 0 ? kWoodLight : TrayRow(16 + Round((y + 0.5) * 31.0 / tray.height()));
    Fill(img, QRect(tray.left(), tray.top() + y, tray.width(), 1), row);
  }
}

// A chalk stick lying on the tray's lip: lit along its top, round-ended on the larger sizes.
void PaintStick(QImage& img, const QRect& stick, Rgb colour) {
  const Mask m = RenderMask(stick.width(), stick.height(), [&](QPainter& p) {
    const double r = stick.height() >= 4 ? stick.height() / 2.5 : 0;
    p.drawRoundedRect(QRectF(0, 0, stick.width(), stick.height()), r, r);
  });
  auto shade = [&](int, int y) {
    const double v = (y + 0.5) / stick.height();
    return stick.height() < 3 ? colour : Scale(colour, 1.02 - 0.3 * v * v);
  };
  PaintMask(img, stick.left(), stick.top(), m, shade, [](int, int) { return kWood; });
}

}  // namespace

QImage MakeIcon(int size) {
  QImage img = BlackPicture(size, size);
  const int margin = std::max(1, size / 16);
  const int width = size - 2 * margin;
  const int frame = std::max(1, Round(size / 32.0));
  const int trayHeight = std::max(2, Round(size * 3 / 32.0));
  const int boardHeight = Round(width * 0.62);
  const int top = (size - boardHeight - trayHeight) / 2;

  const QRect outer(margin, top, width, boardHeight);
  PaintFrame(img, outer, frame, size >= 48);
  const QRect board = outer.adjusted(frame, frame, -frame, -frame);
  PaintBoard(img, board, size);
  PaintMark(img, board, size);

  const int ledge = std::max(1, margin / 2);
  const QRect tray(margin - ledge, outer.bottom() + 1, width + 2 * ledge, trayHeight);
  PaintTray(img, tray);
  const int stickHeight = std::max(1, Round(trayHeight * 0.45));
  const int stickLength = Round(width * 0.24);
  const int stickTop = tray.top() - stickHeight / 2;
  PaintStick(img,
             QRect(outer.right() - frame - stickLength - Round(width * 0.06), stickTop, stickLength,
                   stickHeight),
             kChalkYellow);
  if (size >= 48)
    PaintStick(img,
               QRect(outer.left() + frame + Round(width * 0.08), stickTop, Round(stickLength * 0.7),
                     stickHeight),
               kChalkWhite);

  // Pure black is empty: the icon is transparent around the board and the tray.
  QImage icon = img.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if ((icon.pixel(x, y) & 0xFFFFFF) == 0) icon.setPixel(x, y, qRgba(0, 0, 0, 0));
  return icon;
}
