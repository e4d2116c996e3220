#include "platform/BmpReader.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>

namespace slatewick {

namespace {

constexpr qsizetype kFileHeaderBytes = 14;
// The info header sizes read: OS/2 1.x, Windows 3.x, OS/2 2.x, V4, V5.
constexpr quint32 kCoreHeader = 12, kInfoHeader = 40, kOs2Header = 64, kV4Header = 108,
                  kV5Header = 124;
enum Compression : quint32 {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitfields = 3,
  kAlphaBitfields = 6  // bit fields with a fourth mask, for alpha
};

// Thrown inside the reader; DecodeBmp turns it into the refusal.
struct Refused {
  QString why;
};

[[noreturn]] void Refuse(const QString& why) {
  throw Refused{why};
}

quint16 U16(QByteArrayView d, qsizetype at) {
  return qFromLittleEndian<quint16>(d.data() + at);
}
quint32 U32(QByteArrayView d, qsizetype at) {
  return qFromLittleEndian<quint32>(d.data() + at);
}

// One colour channel of a 16- or 32-bit pixel: a run of bits, widened or narrowed to 8 bits.
// As Windows shows it, a narrow channel repeats its bits down to the lowest of the 8 (5-bit
// abcde becomes abcdeabc), so that its largest value is 255; a wide one keeps its top 8 bits.
struct Channel {
  quint32 mask = 0;
  int shift = 0;  // the mask's lowest bit
  int width = 0;  // bits in the mask
  quint32 Of(quint32 pixel) const {
    const quint32 value = (pixel & mask) >> shift;
    if (width >= 8) return value >> (width - 8);
    quint32 wide = 0;
    for (int at = 8 - width; at > -width; at -= width) wide |= at >= 0 ? value << at : value >> -at;
    return wide;
  }
};

// What the headers say, checked against each other and against the length of the data.
struct Layout {
  int width = 0;
  int height = 0;  // rows, counted positive
  bool topDown = false;
  int bits = 0;
  bool fields = false;  // the colour masks are given (compression 3 or 6)
  quint32 compression = kRgb;
  qsizetype pixelsAt = 0;  // where the pixel data begins in the file
  std::array<QRgb, 256> palette{};
  std::array<Channel, 3> channels{};  // red, green and blue of a 16- or 32-bit pixel

  // The picture's row that the file's row r fills (files store their rows bottom-up unless the
  // height is negative).
  int Row(int r) const { return topDown ? r : height - 1 - r; }
  qint64 Stride() const { return (qint64(width) * bits + 31) / 32 * 4; }
};

void CheckDepth(int bits, quint32 compression) {
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    Refuse(QStringLiteral("It declares %1 bits a pixel, which no BMP has.").arg(bits));
  const bool fits =
      compression == kRgb || (compression == kRle8 && bits == 8) ||
      (compression == kRle4 && bits == 4) ||
      ((compression == kBitfields || compression == kAlphaBitfields) && (bits == 16 || bits == 32));
  if (!fits)
    Refuse(QStringLiteral("Its compression %1 with %2 bits a pixel is not a form of BMP that is "
                          "read.")
               .arg(compression)
               .arg(bits));
}

// The colour masks: after a Windows 3.x or OS/2 2.x header (where tableAt moves past them, and
// past the alpha mask that follows with compression 6) or inside a V4 or V5 header; without bit
// fields, 5-5-5 for 16 bits and 8-8-8 for 32.
void ReadMasks(QByteArrayView d, Layout& l, quint32 headerBytes, qsizetype& tableAt) {
  std::array<quint32, 3> masks{0x00FF0000, 0x0000FF00, 0x000000FF};
  if (!l.fields && l.bits == 16) masks = {0x7C00, 0x03E0, 0x001F};
  if (l.fields) {
    qsizetype at = kFileHeaderBytes + kInfoHeader;
    if (headerBytes < kV4Header) {
      at = tableAt;
      tableAt += l.compression == kAlphaBitfields ? 16 : 12;
      if (tableAt > d.size()) Refuse(QStringLiteral("The file ends inside its colour masks."));
    }
    for (int i = 0; i < 3; ++i) masks[std::size_t(i)] = U32(d, at + 4 * i);
  }
  quint32 taken = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const quint32 mask = masks[i];
    const int shift = std::countr_zero(mask);
    const quint32 run = mask ? mask >> shift : 0;
    const bool inPixel = l.bits != 16 || mask <= 0xFFFF;
    if (!mask || (run & (run + 1)) != 0 || !inPixel || (mask & taken) != 0)
      Refuse(
          QStringLiteral("Its colour masks are not three separate runs of bits within a "
                         "pixel."));
    taken |= mask;
    l.channels[i] = {mask, shift, std::popcount(mask)};
  }
}

// The palette of a picture of 8 bits a pixel or fewer, which begins at byte `at`: of the colours
// declared (all that the depth can use when none are), the first 2^bits that lie before the
// pixel data. Colours it does not hold are black, except that a one-colour palette of 1 bit a
// pixel gets white as second.
void ReadPalette(QByteArrayView d, Layout& l, quint32 declared, int entryBytes, qsizetype at) {
  const qint64 most = qint64(1) << l.bits;
  const qint64 count =
      std::min({declared ? qint64(declared) : most, most, (l.pixelsAt - at) / entryBytes});
  if (at + count * entryBytes > d.size())
    Refuse(QStringLiteral("The file ends inside its palette."));
  l.palette.fill(qRgb(0, 0, 0));
  if (l.bits == 1) l.palette[1] = qRgb(255, 255, 255);
  for (qint64 i = 0; i < count; ++i) {
    const auto* entry = reinterpret_cast<const uchar*>(d.data()) + at + i * entryBytes;
    l.palette[std::size_t(i)] = qRgb(entry[2], entry[1], entry[0]);
  }
}

Layout ReadLayout(QByteArrayView d) {
  if (d.size() < 2 || d[0] != 'B' || d[1] != 'M') Refuse(QStringLiteral("It is not a BMP file."));
  if (d.size() < kFileHeaderBytes + 4) Refuse(QStringLiteral("The file ends inside its header."));
  const quint32 headerBytes = U32(d, kFileHeaderBytes);
  if (headerBytes != kCoreHeader && headerBytes != kInfoHeader && headerBytes != kOs2Header &&
      headerBytes != kV4Header && headerBytes != kV5Header)
    Refuse(QStringLiteral("Its header of %1 bytes is not one of the BMP headers that are read.")
               .arg(headerBytes));
  if (d.size() < kFileHeaderBytes + qsizetype(headerBytes))
    Refuse(QStringLiteral("The file ends inside its header."));

  Layout l;
  const bool core = headerBytes == kCoreHeader;
  qint64 width = 0, height = 0;
  int planes = 0;
  quint32 colours = 0;
  if (core) {
    width = U16(d, 18);
    height = U16(d, 20);
    planes = U16(d, 22);
    l.bits = U16(d, 24);
  } else {
    width = qint32(U32(d, 18));
    height = qint32(U32(d, 22));
    planes = U16(d, 26);
    l.bits = U16(d, 28);
    l.compression = U32(d, 30);
    colours = U32(d, 46);
  }
  l.fields = l.compression == kBitfields || l.compression == kAlphaBitfields;
  if (planes != 1)
    Refuse(QStringLiteral("It declares %1 colour planes instead of one.").arg(planes));
  CheckDepth(l.bits, l.compression);
  if (width <= 0 || height == 0)
    Refuse(QStringLiteral("It declares a picture of %1 x %2 pixels.").arg(width).arg(height));
  l.topDown = height < 0;
  height = qAbs(height);
  if (width > kBmpMaxSide || height > kBmpMaxSide || width * height > kBmpMaxPixels)
    Refuse(QStringLiteral("Its declared size of %1 x %2 pixels is larger than a picture may be.")
               .arg(width)
               .arg(height));
  l.width = int(width);
  l.height = int(height);

  qsizetype tableAt = kFileHeaderBytes + headerBytes;
  if (l.bits > 8) ReadMasks(d, l, headerBytes, tableAt);
  l.pixelsAt = U32(d, 10);
  if (l.pixelsAt < tableAt)
    Refuse(QStringLiteral("Its pixel data would begin at byte %1, inside its header or palette, "
                          "which end at byte %2.")
               .arg(l.pixelsAt)
               .arg(tableAt));
  if (l.bits <= 8) ReadPalette(d, l, colours, core ? 3 : 4, tableAt);
  if (l.pixelsAt > d.size()) Refuse(QStringLiteral("The file ends before its pixel data begins."));
  return l;
}

void CheckRowsPresent(QByteArrayView d, const Layout& l) {
  const qint64 needed = l.pixelsAt + l.Stride() * l.height;
  if (needed > d.size())
    Refuse(QStringLiteral("The file ends before its pixels do: they need %1 bytes, the file "
                          "holds %2.")
               .arg(needed)
               .arg(d.size()));
}

QRgb Compose(const std::array<Channel, 3>& c, quint32 pixel) {
  return qRgb(int(c[0].Of(pixel)), int(c[1].Of(pixel)), int(c[2].Of(pixel)));
}

void DecodeRow(const uchar* in, QRgb* out, const Layout& l) {
  const auto& p = l.palette;
  const int w = l.width;
  switch (l.bits) {
    case 1:
      for (int x = 0; x < w; ++x) out[x] = p[(in[x >> 3] >> (7 - (x & 7))) & 1];
      break;
    case 4:
      for (int x = 0; x < w; ++x) out[x] = p[(in[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F];
      break;
    case 8:
      for (int x = 0; x < w; ++x) out[x] = p[in[x]];
      break;
    case 16:
      for (int x = 0; x < w; ++x)
        out[x] = Compose(l.channels, qFromLittleEndian<quint16>(in + 2 * x));
      break;
    case 24:
      for (int x = 0; x < w; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
      break;
    default:
      for (int x = 0; x < w; ++x)
        out[x] = Compose(l.channels, qFromLittleEndian<quint32>(in + 4 * x));
  }
}

void DecodeRows(QByteArrayView d, const Layout& l, QImage& picture) {
  const auto* in = reinterpret_cast<const uchar*>(d.data()) + l.pixelsAt;
  const qsizetype stride = qsizetype(l.Stride());
  for (int r = 0; r < l.height; ++r, in += stride)
    DecodeRow(in, reinterpret_cast<QRgb*>(picture.scanLine(l.Row(r))), l);
}

QString RunPastTheRow(int r) {
  return QStringLiteral("A run in its pixel data runs past the end of row %1.").arg(r);
}

// Follows the runs of an RLE8 or RLE4 picture. With a picture it paints them into it; without,
// it only checks that they stay inside the picture and go on until it is whole: until the
// end-of-picture mark, the end of its last row, or its last pixel.
void FollowRuns(QByteArrayView d, const Layout& l, QImage* picture) {
  const auto* in = reinterpret_cast<const uchar*>(d.data());
  const qsizetype size = d.size();
  const bool rle8 = l.compression == kRle8;
  const auto& p = l.palette;
  const auto rowAt = [&](int r) {
    return picture && r < l.height ? reinterpret_cast<QRgb*>(picture->scanLine(l.Row(r))) : nullptr;
  };
  qsizetype at = l.pixelsAt;
  int x = 0, y = 0;
  QRgb* row = rowAt(0);
  while (y < l.height) {
    if (at + 2 > size) {
      if (y == l.height - 1 && x == l.width) return;
      Refuse(QStringLiteral("The file ends before its runs complete the picture."));
    }
    const int count = in[at], value = in[at + 1];
    at += 2;
    if (count > 0) {  // one colour repeated (RLE4: two colours alternating)
      if (count > l.width - x) Refuse(RunPastTheRow(y));
      for (int i = 0; row && i < count; ++i)
        row[x + i] = p[rle8 ? value : ((i & 1) ? value & 0x0F : value >> 4)];
      x += count;
    } else if (value == 0) {  // end of the row
      x = 0;
      row = rowAt(++y);
    } else if (value == 1) {  // end of the picture
      return;
    } else if (value == 2) {  // a jump right and down
      if (at + 2 > size) Refuse(QStringLiteral("The file ends inside a jump of its runs."));
      const int dx = in[at], dy = in[at + 1];
      at += 2;
      if (dx > l.width - x || dy > l.height - y)
        Refuse(QStringLiteral("A jump in its pixel data leaves the picture."));
      x += dx;
      y += dy;
      row = rowAt(y);
    } else {  // `value` pixels as they are, padded to an even number of bytes
      const qsizetype bytes = rle8 ? value : (value + 1) / 2;
      if (value > l.width - x) Refuse(RunPastTheRow(y));
      if (at + bytes > size) Refuse(QStringLiteral("The file ends inside a run of its pixels."));
      for (int i = 0; row && i < value; ++i)
        row[x + i] = p[rle8 ? in[at + i] : ((i & 1) ? in[at + i / 2] & 0x0F : in[at + i / 2] >> 4)];
      at += bytes + (bytes & 1);
      x += value;
    }
  }
}

// Why a picture of `size` is not one of the `accepted` sizes; empty when it is.
QString SizeRefusal(QSize size, const BmpSizes& accepted) {
  const auto pixels = [](QSize s) {
    return QStringLiteral("%1 x %2 pixels").arg(s.width()).arg(s.height());
  };
  const QString its = QStringLiteral("Its picture of %1 ").arg(pixels(size));
  if (accepted.least == accepted.most && size != accepted.least)
    return its + QStringLiteral("is not %1.").arg(pixels(accepted.least));
  if (size.width() < accepted.least.width() || size.height() < accepted.least.height())
    return its +
           QStringLiteral("is smaller than the %1 that are used.").arg(pixels(accepted.least));
  if (size.width() > accepted.most.width() || size.height() > accepted.most.height())
    return its + QStringLiteral("is larger than the %1 that are read.").arg(pixels(accepted.most));
  return {};
}

}  // namespace

BmpReadResult DecodeBmp(QByteArrayView bytes, const BmpSizes& accepted) {
  try {
    const Layout l = ReadLayout(bytes);
    const bool runs = l.compression == kRle8 || l.compression == kRle4;
    if (runs)
      FollowRuns(bytes, l, nullptr);
    else
      CheckRowsPresent(bytes, l);
    const QString wrongSize = SizeRefusal(QSize(l.width, l.height), accepted);
    if (!wrongSize.isEmpty()) return {QImage(), wrongSize, true};
    QImage picture(l.width, l.height, QImage::Format_RGB32);
    if (picture.isNull())
      Refuse(QStringLiteral("There is not enough memory for its %1 x %2 pixels.")
                 .arg(l.width)
                 .arg(l.height));
    if (runs) {
      picture.fill(l.palette[0]);
      FollowRuns(bytes, l, &picture);
    } else {
      DecodeRows(bytes, l, picture);
    }
    return {picture, QString()};
  } catch (const Refused& refused) {
    return {QImage(), refused.why};
  }
}

}  // namespace slatewick
