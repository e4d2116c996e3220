#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace slatewick {

namespace {

bool Is32Bit(const QImage& image) {
  const auto f = image.format();
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
         f == QImage::Format_ARGB32_Premultiplied;
}

// Brings the target into a 32-bit layout once; false when there is nothing to draw on.
bool Ready(QImage& image) {
  if (image.isNull()) return false;
  if (!Is32Bit(image)) image = image.convertToFormat(QImage::Format_RGB32);
  return true;
}

// A source in 32-bit layout, converted into `holder` only when it is not one already.
const QImage& Source32(const QImage& src, QImage& holder) {
  if (Is32Bit(src)) return src;
  holder = src.convertToFormat(QImage::Format_RGB32);
  return holder;
}

QRgb* Row(QImage& image, int y) {
  return reinterpret_cast<QRgb*>(image.scanLine(y));
}
const QRgb* Row(const QImage& image, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

// Fills horizontal runs with a solid colour or with the pattern tiled from the image origin.
class BrushFill {
 public:
  explicit BrushFill(const Brush& brush) : solid_(ToQRgb(brush.Color)) {
    if (brush.Pattern && !brush.Pattern->isNull()) {
      pattern_ = brush.Pattern->convertToFormat(QImage::Format_RGB32);
    }
  }
  // Pixels x0 <= x < x1 of row y; the run must lie inside the image.
  void Span(QImage& image, int y, int x0, int x1) const {
    QRgb* row = Row(image, y);
    if (pattern_.isNull()) {
      std::fill(row + x0, row + x1, solid_);
      return;
    }
    const QRgb* tile = Row(pattern_, y % pattern_.height());
    const int w = pattern_.width();
    for (int x = x0; x < x1; ++x) row[x] = tile[x % w] | 0xFF000000u;
  }

 private:
  QRgb solid_;
  QImage pattern_;
};

// Fills the box cut to `to` (inside the image).
void FillBox(QImage& image, const BrushFill& fill, const Rect& to, int left, int top, int right,
             int bottom) {
  left = std::max(left, to.Left);
  top = std::max(top, to.Top);
  right = std::min(right, to.Right);
  bottom = std::min(bottom, to.Bottom);
  if (left >= right) return;
  for (int y = top; y < bottom; ++y) fill.Span(image, y, left, right);
}

void SolidBox(QImage& image, QRgb color, const Rect& to, int left, int top, int right, int bottom) {
  Brush b;
  b.Color = FromQRgb(color);
  FillBox(image, BrushFill(b), to, left, top, right, bottom);
}

// Cuts a copy of a w x h block from (sx, sy) of a sw x sh source to (x, y) down to the part that
// lies inside both the source and `to`; false when nothing is left.
bool CutCopy(int& x, int& y, int& w, int& h, int& sx, int& sy, int sw, int sh, const Rect& to) {
  const int cutLeft = std::max({0, -sx, to.Left - x});
  const int cutTop = std::max({0, -sy, to.Top - y});
  x += cutLeft, sx += cutLeft, w -= cutLeft;
  y += cutTop, sy += cutTop, h -= cutTop;
  w = std::min({w, sw - sx, to.Right - x});
  h = std::min({h, sh - sy, to.Bottom - y});
  return w > 0 && h > 0;
}

// The smallest box holding the points, grown by `margin` on every side.
Rect PointsBox(std::span<const QPoint> points, int margin) {
  Rect r{points[0].x(), points[0].y(), points[0].x() + 1, points[0].y() + 1};
  for (const QPoint& p : points) {
    r.Left = std::min(r.Left, p.x()), r.Right = std::max(r.Right, p.x() + 1);
    r.Top = std::min(r.Top, p.y()), r.Bottom = std::max(r.Bottom, p.y() + 1);
  }
  return {r.Left - margin, r.Top - margin, r.Right + margin, r.Bottom + margin};
}

// A 1-pixel line from (x0, y0) towards (x1, y1), the end pixel left out. Each step along the
// major axis takes the minor coordinate nearest the ideal line, so only the part inside the
// image is visited however far away the ends lie.
void ThinLine(QImage& image, long long x0, long long y0, long long x1, long long y1, QRgb c) {
  const long long dx = x1 - x0, dy = y1 - y0;
  const long long adx = std::llabs(dx), ady = std::llabs(dy);
  const long long n = std::max(adx, ady);
  if (n == 0) return;
  const bool xMajor = adx >= ady;
  const long long major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const long long minorLen = xMajor ? ady : adx;
  const long long majorLimit = xMajor ? image.width() : image.height();
  const long long minorLimit = xMajor ? image.height() : image.width();
  long long first = 0, last = n - 1;
  if (majorStep > 0) {
    first = std::max(first, -major0);
    last = std::min(last, majorLimit - 1 - major0);
  } else {
    first = std::max(first, major0 - majorLimit + 1);
    last = std::min(last, major0);
  }
  for (long long i = first; i <= last; ++i) {
    const long long major = major0 + majorStep * i;
    const long long minor = minor0 + minorStep * ((2 * i * minorLen + n) / (2 * n));
    if (minor < 0 || minor >= minorLimit) continue;
    const int x = int(xMajor ? major : minor), y = int(xMajor ? minor : major);
    Row(image, y)[x] = c;
  }
}

// A line `width` pixels thick with round caps: every pixel whose centre lies within width / 2
// of the segment. Odd widths are centred on the pixel centres, even ones on pixel corners, so
// an axis-parallel line is exactly `width` pixels thick.
void WideLine(QImage& image, int x0, int y0, int x1, int y1, int width, QRgb c) {
  const double off = (width % 2) ? 0.5 : 0.0;
  const double ax = x0 + off, ay = y0 + off, bx = x1 + off, by = y1 + off;
  const double r = width / 2.0, r2 = r * r;
  const double vx = bx - ax, vy = by - ay, len2 = vx * vx + vy * vy;
  const int left = std::max(0, int(std::floor(std::min(ax, bx) - r)));
  const int right = std::min(image.width() - 1, int(std::ceil(std::max(ax, bx) + r)));
  const int top = std::max(0, int(std::floor(std::min(ay, by) - r)));
  const int bottom = std::min(image.height() - 1, int(std::ceil(std::max(ay, by) + r)));
  for (int y = top; y <= bottom; ++y) {
    QRgb* row = Row(image, y);
    const double py = y + 0.5 - ay;
    for (int x = left; x <= right; ++x) {
      const double px = x + 0.5 - ax;
      const double t = std::clamp((px * vx + py * vy) / len2, 0.0, 1.0);
      const double ex = px - t * vx, ey = py - t * vy;
      if (ex * ex + ey * ey < r2) row[x] = c;
    }
  }
}

void PenLine(QImage& image, const Pen& pen, int x0, int y0, int x1, int y1) {
  if (pen.Style == PenStyle::Clear || (x0 == x1 && y0 == y1)) return;
  const QRgb c = ToQRgb(pen.Color);
  if (pen.Width <= 1) {
    ThinLine(image, x0, y0, x1, y1, c);
  } else {
    WideLine(image, x0, y0, x1, y1, pen.Width, c);
  }
}

// Fills the polygon by the alternate rule: a pixel is inside when its centre is crossed by an
// odd number of edges to its left.
void FillPolygon(QImage& image, const BrushFill& fill, std::span<const QPoint> points) {
  int top = points[0].y(), bottom = top;
  for (const QPoint& p : points) {
    top = std::min(top, p.y());
    bottom = std::max(bottom, p.y());
  }
  top = std::max(top, 0);
  bottom = std::min(bottom, image.height());
  std::vector<double> xs;
  for (int y = top; y < bottom; ++y) {
    const double cy = y + 0.5;
    xs.clear();
    for (std::size_t i = 0; i < points.size(); ++i) {
      const QPoint a = points[i], b = points[(i + 1) % points.size()];
      if (a.y() == b.y()) continue;
      const double lo = std::min(a.y(), b.y()), hi = std::max(a.y(), b.y());
      if (cy < lo || cy >= hi) continue;
      xs.push_back(a.x() + (cy - a.y()) * double(b.x() - a.x()) / double(b.y() - a.y()));
    }
    std::sort(xs.begin(), xs.end());
    for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
      const double from = std::max(std::ceil(xs[i] - 0.5), 0.0);
      const double to = std::min(std::ceil(xs[i + 1] - 0.5), double(image.width()));
      if (from < to) fill.Span(image, y, int(from), int(to));
    }
  }
}

}  // namespace

QImage NewBitmap(int width, int height) {
  QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  image.fill(0xFF000000u);
  return image;
}

Rect Canvas::Bounds() const {
  Rect r{0, 0, image_.width(), image_.height()};
  if (clip_) {
    r = {std::max(r.Left, clip_->Left), std::max(r.Top, clip_->Top),
         std::min(r.Right, clip_->Right), std::min(r.Bottom, clip_->Bottom)};
  }
  return r;
}

void Canvas::Touch(const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (touched_.Width() <= 0 || touched_.Height() <= 0) {
    touched_ = r;
    return;
  }
  touched_ = {std::min(touched_.Left, r.Left), std::min(touched_.Top, r.Top),
              std::max(touched_.Right, r.Right), std::max(touched_.Bottom, r.Bottom)};
}

void Canvas::LineTo(int x, int y) {
  const std::array<QPoint, 2> ends{current_, QPoint(x, y)};
  Touch(PointsBox(ends, pen.Width / 2 + 1));
  if (Ready(image_)) PenLine(image_, pen, current_.x(), current_.y(), x, y);
  current_ = {x, y};
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
  if (!Ready(image_)) return;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  Touch({left, top, right, bottom});
  const Rect to = Bounds();
  int inset = 0;
  if (pen.Style != PenStyle::Clear) {
    inset = std::max(pen.Width, 1);
    const QRgb c = ToQRgb(pen.Color);
    const int n = std::min({inset, (right - left + 1) / 2, (bottom - top + 1) / 2});
    SolidBox(image_, c, to, left, top, right, top + n);
    SolidBox(image_, c, to, left, bottom - n, right, bottom);
    SolidBox(image_, c, to, left, top + n, left + n, bottom - n);
    SolidBox(image_, c, to, right - n, top + n, right, bottom - n);
  }
  if (right - left > 2 * inset && bottom - top > 2 * inset) {
    FillBox(image_, BrushFill(brush), to, left + inset, top + inset, right - inset, bottom - inset);
  }
}

void Canvas::FillRect(const Rect& r) {
  Touch(r);
  if (Ready(image_)) FillBox(image_, BrushFill(brush), Bounds(), r.Left, r.Top, r.Right, r.Bottom);
}

void Canvas::Polygon(std::span<const QPoint> points) {
  if (points.size() < 2) return;
  Touch(PointsBox(points, pen.Width + 1));
  if (!Ready(image_)) return;
  FillPolygon(image_, BrushFill(brush), points);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPoint a = points[i], b = points[(i + 1) % points.size()];
    PenLine(image_, pen, a.x(), a.y(), b.x(), b.y());
  }
}

void Canvas::SetPixel(int x, int y, Colour c) {
  Touch({x, y, x + 1, y + 1});
  if (!Ready(image_) || !Bounds().Contains(x, y)) return;
  Row(image_, y)[x] = ToQRgb(c);
}

Colour Canvas::Pixel(int x, int y) const {
  if (image_.isNull() || x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return 0;
  if (!Is32Bit(image_)) return FromQRgb(image_.pixel(x, y));
  return FromQRgb(Row(std::as_const(image_), y)[x]);
}

void Canvas::TextOut(int x, int y, const QString& text) {
  if (text.isEmpty()) return;
  Touch(TextBox(x, y, text));
  if (!Ready(image_)) return;
  QFont f(font.Name);
  f.setPixelSize(std::max(1, int(std::lround(font.Size * 96.0 / 72.0))));
  QPainter p(&image_);
  if (clip_) p.setClipRect(QRect(clip_->Left, clip_->Top, clip_->Width(), clip_->Height()));
  p.setFont(f);
  p.setPen(QColor::fromRgb(ToQRgb(font.Color)));
  p.drawText(x, y + QFontMetrics(f).ascent(), text);
}

void Canvas::CopyRect(int x, int y, int w, int h, const QImage& src, int srcX, int srcY,
                      CopyMode mode) {
  Touch({x, y, x + w, y + h});
  if (w <= 0 || h <= 0 || src.isNull() || !Ready(image_)) return;
  QImage holder;
  const QImage* from = &Source32(src, holder);
  if (from->constBits() == image_.constBits()) {
    holder = from->copy();  // the same picture: read from a snapshot
    from = &holder;
  }
  if (!CutCopy(x, y, w, h, srcX, srcY, from->width(), from->height(), Bounds())) return;
  for (int row = 0; row < h; ++row) {
    const QRgb* s = Row(*from, srcY + row) + srcX;
    QRgb* d = Row(image_, y + row) + x;
    switch (mode) {
      case CopyMode::SrcCopy:
        std::memcpy(d, s, std::size_t(w) * sizeof(QRgb));
        break;
      case CopyMode::SrcAnd:
        for (int i = 0; i < w; ++i) d[i] = (d[i] & s[i]) | 0xFF000000u;
        break;
      case CopyMode::SrcPaint:
        for (int i = 0; i < w; ++i) d[i] = d[i] | s[i] | 0xFF000000u;
        break;
    }
  }
}

void Canvas::StretchDraw(const Rect& dst, const QImage& src, const Rect& srcRect) {
  const int dw = dst.Width(), dh = dst.Height(), sw = srcRect.Width(), sh = srcRect.Height();
  Touch(dst);
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.isNull() || !Ready(image_)) return;
  QImage holder;
  const QImage* from = &Source32(src, holder);
  if (from->constBits() == image_.constBits()) {
    holder = from->copy();
    from = &holder;
  }
  // Each destination pixel takes the source pixel under its centre.
  const Rect to = Bounds();
  const int y0 = std::max(dst.Top, to.Top), y1 = std::min(dst.Bottom, to.Bottom);
  int x0 = std::max(dst.Left, to.Left), x1 = std::min(dst.Right, to.Right);
  if (x0 >= x1 || y0 >= y1) return;
  // Column of x: srcRect.Left + floor((2 (x - dst.Left) + 1) sw / 2 dw), stepped without division.
  const long long den = 2LL * dw;
  const auto column = [&](int x) {
    return srcRect.Left + int((2LL * (x - dst.Left) + 1) * sw / den);
  };
  // The columns grow with x: keep those that fall inside the source.
  const int srcWidth = from->width(), srcHeight = from->height();
  while (x0 < x1 && column(x0) < 0) ++x0;
  while (x1 > x0 && column(x1 - 1) >= srcWidth) --x1;
  if (x0 >= x1) return;
  std::vector<int> columns(std::size_t(x1 - x0));
  const long long first = (2LL * (x0 - dst.Left) + 1) * sw;
  long long q = first / den, rem = first % den;
  for (auto& c : columns) {
    c = srcRect.Left + int(q);
    for (rem += 2LL * sw; rem >= den; rem -= den) ++q;
  }
  const bool oneColumn = columns.front() == columns.back();
  for (int y = y0; y < y1; ++y) {
    const int sy = srcRect.Top + int((2LL * (y - dst.Top) + 1) * sh / (2LL * dh));
    if (sy < 0 || sy >= srcHeight) continue;
    const QRgb* s = Row(*from, sy);
    QRgb* d = Row(image_, y) + x0;
    if (oneColumn) {
      std::fill(d, d + (x1 - x0), s[columns.front()] | 0xFF000000u);
      continue;
    }
    for (std::size_t i = 0; i < columns.size(); ++i) d[i] = s[columns[i]] | 0xFF000000u;
  }
}

void Canvas::MaskedCopy(int x, int y, int w, int h, const QImage& src, int srcX, int srcY) {
  Touch({x, y, x + w, y + h});
  if (w <= 0 || h <= 0 || src.isNull() || !Ready(image_)) return;
  QImage holder;
  const QImage* from = &Source32(src, holder);
  if (from->constBits() == image_.constBits()) {
    holder = from->copy();
    from = &holder;
  }
  if (!CutCopy(x, y, w, h, srcX, srcY, from->width(), from->height(), Bounds())) return;
  // (dst AND mask) OR src: a black source pixel leaves dst as it is, any other replaces it.
  for (int row = 0; row < h; ++row) {
    const QRgb* s = Row(*from, srcY + row) + srcX;
    QRgb* d = Row(image_, y + row) + x;
    for (int i = 0; i < w; ++i) d[i] = (s[i] & 0x00FFFFFFu) ? s[i] | 0xFF000000u : d[i];
  }
}

Rect Canvas::TextBox(int x, int y, const QString& text) const {
  QFont f(font.Name);
  f.setPixelSize(std::max(1, int(std::lround(font.Size * 96.0 / 72.0))));
  const QFontMetrics m(f);
  const QRect r = m.boundingRect(text);
  const int pad = m.height() / 2 + 2;  // overhangs and antialiasing
  const int left = x + std::min(r.left(), 0) - pad;
  const int right = x + std::max(r.right() + 1, m.horizontalAdvance(text)) + pad;
  return {left, y - pad, right, y + m.height() + pad};
}

}  // namespace slatewick
