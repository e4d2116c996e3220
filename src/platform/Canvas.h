#pragma once
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>
#include <span>

#include "platform/Colour.h"
#include "platform/Rect.h"

namespace slatewick {

// Raster operations of a rectangle copy.
enum class CopyMode { SrcCopy = 0xCC0020, SrcAnd = 0x8800C6, SrcPaint = 0xEE0086 };

enum class PenStyle { Solid, Clear };

struct Pen {
  Colour Color = 0;  // black
  PenStyle Style = PenStyle::Solid;
  int Width = 1;  // pixels thick; wider pens have round caps and joins
};

// A solid colour, or an 8 x 8 picture tiled from the image's origin when Pattern is set.
struct Brush {
  Colour Color = 0xFFFFFF;
  const QImage* Pattern = nullptr;
};

// Text drawn over a transparent background; Size in points (96 dots per inch).
struct TextStyle {
  QString Name = QStringLiteral("Arial");
  int Size = 9;
  Colour Color = 0;
};

// A GDI-like painter over one QImage (Format_RGB32), hard-edged, clipped to the image and to
// the clip rectangle when one is set. It holds a pen, a brush, a text style, a current point, the
// clip and the box of every pixel drawing may have changed.
class Canvas {
 public:
  explicit Canvas(QImage& image) : image_(image) {}

  Pen pen;
  Brush brush;
  TextStyle font;

  QImage& Image() { return image_; }

  // Later drawing changes only pixels inside r (and the image); lines and polygons ignore it.
  void SetClip(const Rect& r) { clip_ = r; }
  void ClearClip() { clip_.reset(); }
  // A box holding every pixel the drawing so far may have changed (not cut to the image).
  const Rect& Touched() const { return touched_; }

  void MoveTo(int x, int y) { current_ = {x, y}; }
  // Line from the current point to (x, y), which becomes the current point. A 1-pixel pen
  // leaves out the end pixel, as GDI does; a zero-length line draws nothing.
  void LineTo(int x, int y);
  // Outline with the pen (unless clear), filled with the brush; right/bottom exclusive.
  void Rectangle(int left, int top, int right, int bottom);
  // Brush fill of left <= x < right, top <= y < bottom; the pen is not used.
  void FillRect(const Rect& r);
  // Filled with the brush by the alternate (odd-even) rule, outlined with the pen.
  void Polygon(std::span<const QPoint> points);
  void SetPixel(int x, int y, Colour c);
  Colour Pixel(int x, int y) const;  // black outside the image
  // Text with its top-left cell corner at (x, y).
  void TextOut(int x, int y, const QString& text);
  // A box holding every pixel TextOut(x, y, text) may change with the current font.
  Rect TextBox(int x, int y, const QString& text) const;
  // Copies src's rectangle (srcX, srcY, w, h) to (x, y) with a raster operation.
  void CopyRect(int x, int y, int w, int h, const QImage& src, int srcX, int srcY,
                CopyMode mode = CopyMode::SrcCopy);
  // Stretches src's rectangle over dst (nearest neighbour).
  void StretchDraw(const Rect& dst, const QImage& src, const Rect& srcRect);
  // Copies src's rectangle (srcX, srcY, w, h) to (x, y), leaving out pure black source pixels.
  void MaskedCopy(int x, int y, int w, int h, const QImage& src, int srcX, int srcY);

 private:
  // The image's rectangle cut to the clip.
  Rect Bounds() const;
  void Touch(const Rect& r);

  QImage& image_;
  QPoint current_{0, 0};
  std::optional<Rect> clip_;
  Rect touched_;
};

// A new RGB32 picture of the given size, filled with black.
QImage NewBitmap(int width, int height);

}  // namespace slatewick
