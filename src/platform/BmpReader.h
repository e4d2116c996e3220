#pragma once
#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace slatewick {

// Windows bitmaps (BMP files) read from bytes that nobody vouches for. Every form that Windows
// and Qt read is read: 1, 4 and 8 bits a pixel with a palette, 16 and 32 bits with or without
// bit-field masks, 24 bits, RLE4 and RLE8, top-down rows, and the OS/2 1.x, Windows 3.x,
// OS/2 2.x, V4 and V5 headers. Bytes that are not a BMP, whose header contradicts itself or the
// length of the data, whose pixels end early or whose runs leave the picture are refused;
// nothing is allocated before the header has been checked against the caps below and against
// the length of the data.

// The largest picture read: each side at most this many pixels...
inline constexpr int kBmpMaxSide = 32768;
// ...and at most this many pixels in all (128 MiB as 32-bit pixels).
inline constexpr qint64 kBmpMaxPixels = qint64(1) << 25;
// The longest file worth reading: the largest picture at 32 bits a pixel, with room for the
// headers and the palette.
inline constexpr qint64 kBmpMaxFileBytes = kBmpMaxPixels * 4 + 65536;

struct BmpReadResult {
  QImage picture;   // Format_RGB32; null when the bytes are refused
  QString refusal;  // why they are refused, as a sentence; empty when the picture was read
};

// The picture a BMP file's bytes hold. Pixels that an RLE picture skips (by a jump, the end of a
// row or the end of the picture) show the palette's first colour; pixel values beyond the
// palette show black (for 1 bit a pixel, a missing second colour shows white).
BmpReadResult DecodeBmp(QByteArrayView bytes);

}  // namespace slatewick
