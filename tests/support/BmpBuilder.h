#pragma once
// Windows bitmaps of every form, written byte by byte: the reader's tests compare them with
// Qt's reading, and the fuzz corpus starts from them.
#include <QByteArray>
#include <QRgb>
#include <array>
#include <functional>
#include <vector>

namespace slatewick {

inline void BmpPut(QByteArray& bytes, quint32 value, int size) {
  for (int i = 0; i < size; ++i) bytes.append(char((value >> (8 * i)) & 0xFF));
}

struct BmpShape {
  int header = 40;  // info header size: 12, 40, 64, 108 or 124
  int width = 0;
  int height = 0;  // negative: rows top-down
  int bits = 24;
  quint32 compression = 0;
  quint32 colours = 0;             // palette count in the header (0: what the depth holds)
  std::vector<QRgb> palette{};     // 3 bytes an entry after a 12-byte header, else 4
  std::array<quint32, 4> masks{};  // red, green, blue, alpha: V4 and V5 hold all four;
                                   // bit fields after a 40 or 64-byte header, three (four
                                   // with compression 6)
  int gap = 0;                     // bytes between the palette and the pixels
  QByteArray pixels{};             // the pixel data as stored
};

inline QByteArray MakeBmp(const BmpShape& s) {
  QByteArray info;
  BmpPut(info, quint32(s.header), 4);
  if (s.header == 12) {
    for (int v : {s.width, s.height, 1, s.bits}) BmpPut(info, quint32(v), 2);
  } else {
    BmpPut(info, quint32(s.width), 4);
    BmpPut(info, quint32(s.height), 4);
    BmpPut(info, 1, 2);
    BmpPut(info, quint32(s.bits), 2);
    for (quint32 v : {s.compression, quint32(s.pixels.size()), 2835u, 2835u, s.colours, 0u})
      BmpPut(info, v, 4);
    if (s.header >= 108) {
      for (quint32 m : s.masks) BmpPut(info, m, 4);
      BmpPut(info, 0x73524742, 4);  // sRGB; endpoints and gamma stay zero
    }
    info.append(QByteArray(s.header - info.size(), '\0'));
  }
  QByteArray tables;
  if ((s.compression == 3 || s.compression == 6) && s.header < 108)
    for (int i = 0; i < (s.compression == 6 ? 4 : 3); ++i)
      BmpPut(tables, s.masks[std::size_t(i)], 4);
  for (QRgb c : s.palette)
    BmpPut(tables, quint32(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16), s.header == 12 ? 3 : 4);
  tables.append(QByteArray(s.gap, '\0'));
  const quint32 offset = quint32(14 + info.size() + tables.size());
  QByteArray bmp("BM");
  BmpPut(bmp, offset + quint32(s.pixels.size()), 4);
  BmpPut(bmp, 0, 4);
  BmpPut(bmp, offset, 4);
  return bmp + info + tables + s.pixels;
}

// Rows of `bits`-bit values value(x, r) for the file's rows r = 0, 1, ..., each padded to four
// bytes.
inline QByteArray PackRows(int width, int rows, int bits,
                           const std::function<quint32(int, int)>& value) {
  const int stride = (width * bits + 31) / 32 * 4;
  QByteArray data(stride * rows, '\0');
  for (int r = 0; r < rows; ++r) {
    auto* row = reinterpret_cast<uchar*>(data.data()) + r * stride;
    for (int x = 0; x < width; ++x) {
      const quint32 v = value(x, r);
      if (bits < 8)
        row[x * bits / 8] |= uchar(v << (8 - bits - (x * bits) % 8));
      else
        for (int b = 0; b < bits / 8; ++b) row[x * bits / 8 + b] = uchar(v >> (8 * b));
    }
  }
  return data;
}

// Run-length pixel data, RLE8 or RLE4, op by op.
struct RleStream {
  int bits = 8;
  QByteArray bytes{};
  RleStream& Run(int count, int value) { return Put({count, value}); }
  RleStream& Literal(const std::vector<int>& pixels) {
    Put({0, int(pixels.size())});
    QByteArray data;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      if (bits == 8)
        data.append(char(pixels[i]));
      else if (i % 2 == 0)
        data.append(char(pixels[i] << 4));
      else
        data.back() = char(data.back() | pixels[i]);
    }
    if (data.size() % 2) data.append('\0');
    bytes += data;
    return *this;
  }
  RleStream& EndOfRow() { return Put({0, 0}); }
  RleStream& End() { return Put({0, 1}); }
  RleStream& Jump(int dx, int dy) { return Put({0, 2, dx, dy}); }

 private:
  RleStream& Put(std::initializer_list<int> values) {
    for (int v : values) bytes.append(char(v));
    return *this;
  }
};

}  // namespace slatewick
