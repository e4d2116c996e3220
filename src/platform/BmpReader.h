#pragma once
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace slatewick {

// Windows bitmaps (BMP files) read from bytes that nobody vouches for, as Windows reads them:
// 1, 4 and 8 bits a pixel with a palette, 16 and 32 bits with or without bit-field masks (also
// with the alpha mask of compression 6, whose alpha is ignored), 24 bits, RLE4 and RLE8, top-down
// rows, and the OS/2 1.x, Windows 3.x, OS/2 2.x, V4 and V5 headers. A palette longer than the
// depth can use counts with its first 2^bits colours; of a palette that the pixel data begins
// inside, the colours before the pixel data count. Bytes that are not a BMP, whose header
// contradicts itself or the length of the data, whose pixels end early or whose runs leave the
// picture are refused; nothing is allocated before the header has been checked against the caps
// below, against the length of the data and against the sizes that the caller accepts.

// The largest picture read: each side at most this many pixels...
inline constexpr int kBmpMaxSide = 32768;
// ...and at most this many pixels in all (128 MiB as 32-bit pixels).
inline constexpr qint64 kBmpMaxPixels = qint64(1) << 25;
// The longest file worth reading: the largest picture at 32 bits a pixel, with room for the
// headers and the palette.
inline constexpr qint64 kBmpMaxFileBytes = kBmpMaxPixels * 4 + 65536;

// The picture sizes a caller accepts, in pixels: each side from `least` to `most`.
struct BmpSizes {
  QSize least{1, 1};
  QSize most{kBmpMaxSide, kBmpMaxSide};
};

struct BmpReadResult {
  QImage picture;          // Format_RGB32; null when the bytes are refused
  QString refusal;         // why they are refused, as a sentence; empty when the picture was read
  bool wrongSize = false;  // refused only because its size is not one of the accepted sizes
};

// The picture a BMP file's bytes hold. A whole, consistent bitmap whose size lies outside
// `accepted` is refused with wrongSize before its picture is allocated. Pixels that an RLE
// picture skips (by a jump, the end of a row or the end of the picture) show the palette's
// first colour; pixel values beyond the palette show black (for 1 bit a pixel, a missing second
// colour shows white). A colour channel narrower than 8 bits is widened by repeating its bits
// (5-bit 31 is 255); a wider one shows its top 8 bits.
BmpReadResult DecodeBmp(QByteArrayView bytes, const BmpSizes& accepted = {});

}  // namespace slatewick
