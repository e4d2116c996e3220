#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <string>

#include "platform/AppError.h"
#include "platform/BmpReader.h"
#include "platform/PictureFiles.h"
#include "support/BmpBuilder.h"
#include "support/FileBytes.h"

namespace slatewick {

namespace {

constexpr int kWidth = 13;  // odd, so that every depth pads its rows

std::vector<QRgb> Palette(int n) {
  std::vector<QRgb> colours;
  for (int i = 0; i < n; ++i)
    colours.push_back(qRgb((i * 37 + 11) & 0xFF, (i * 91 + 5) & 0xFF, (i * 53 + 7) & 0xFF));
  return colours;
}

// A palette picture whose pixels use every index the depth holds, also those beyond `colours`.
BmpShape Indexed(int header, int bits, int colours, int height = 5) {
  BmpShape s{header, kWidth, height, bits};
  s.colours = quint32(colours);
  s.palette = Palette(colours ? colours : 1 << bits);
  s.pixels = PackRows(kWidth, std::abs(height), bits,
                      [bits](int x, int r) { return quint32(x * 5 + r * 3) % (1u << bits); });
  return s;
}

BmpShape Direct(int header, int bits, quint32 compression, std::array<quint32, 4> masks,
                int height = 5) {
  BmpShape s{header, kWidth, height, bits, compression};
  s.masks = masks;
  s.pixels = PackRows(kWidth, std::abs(height), bits, [](int x, int r) {
    return quint32(x + 1) * 2654435761u ^ quint32(r + 3) * 40503u;
  });
  return s;
}

BmpShape Runs(int bits, const RleStream& stream, int height) {
  BmpShape s{40, kWidth, height, bits, bits == 8 ? 1u : 2u};
  s.palette = Palette(1 << bits);
  s.pixels = stream.bytes;
  return s;
}

// Rows of runs and literals with odd lengths, so that literal padding shows (height 4).
RleStream Rle8(bool endOfRows = true, bool end = true) {
  RleStream s{8};
  s.Run(5, 1).Literal({2, 3, 4}).Run(5, 6).EndOfRow();
  s.Literal({7, 8, 9, 10}).Run(9, 2).EndOfRow();
  s.Run(3, 4).Literal({11, 12, 13, 14, 15, 16, 17, 18, 19, 20}).EndOfRow();
  s.Run(13, 5);
  if (endOfRows) s.EndOfRow();
  if (end) s.End();
  return s;
}

RleStream Rle4() {
  RleStream s{4};
  s.Run(5, 0x12).Literal({3, 4, 5}).Run(5, 0x67).EndOfRow();
  s.Literal({1, 2, 3, 4, 5, 6, 7, 8, 9}).Run(4, 0xAB).EndOfRow();
  s.Literal({9, 8, 7, 6}).Literal({5, 4, 3, 2, 1, 0}).Run(3, 0xCD).EndOfRow();
  s.Run(13, 0xEF).EndOfRow().End();
  return s;
}

QByteArray Patched(QByteArray bytes, int at, quint32 value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = char((value >> (8 * i)) & 0xFF);
  return bytes;
}

struct Form {
  std::string name;
  QByteArray bytes;
  QByteArray reference;  // what Qt reads for comparison, when not the bytes themselves
  std::array<int, 3> widths{8, 8, 8};  // bits of red, green and blue where fewer than 8
};

std::vector<Form> Forms() {
  std::vector<Form> forms;
  const auto add = [&](std::string name, const BmpShape& s,
                       const QByteArray& reference = {}) -> Form& {
    forms.push_back({std::move(name), MakeBmp(s), reference});
    return forms.back();
  };
  for (int header : {40, 12, 64, 108, 124})
    for (int bits : {1, 4, 8}) add("header " + std::to_string(header), Indexed(header, bits, 0));
  BmpShape light = Indexed(40, 1, 0);
  light.palette = {qRgb(250, 240, 230), qRgb(10, 20, 30)};
  add("1 bit, light colour first", light);
  add("1 bit, one colour", Indexed(40, 1, 1));
  add("4 bits, 5 colours", Indexed(40, 4, 5));
  add("8 bits, 20 colours", Indexed(40, 8, 20));
  add("8 bits top-down", Indexed(40, 8, 0, -5));
  BmpShape gap = Indexed(40, 8, 0);
  gap.gap = 100;
  add("8 bits, a gap before the pixels", gap);
  const std::array<quint32, 4> rgb565{0xF800, 0x07E0, 0x001F}, rgb444{0x0F00, 0x00F0, 0x000F};
  const std::array<quint32, 4> rgb8{0xFF0000, 0xFF00, 0xFF}, bgr8{0xFF, 0xFF00, 0xFF0000};
  add("16 bits 5-5-5", Direct(40, 16, 0, {})).widths = {5, 5, 5};
  add("16 bits 5-6-5", Direct(40, 16, 3, rgb565)).widths = {5, 6, 5};
  add("16 bits 4-4-4", Direct(40, 16, 3, rgb444)).widths = {4, 4, 4};
  add("24 bits", Direct(40, 24, 0, {}));
  add("24 bits top-down", Direct(40, 24, 0, {}, -5));
  BmpShape palette24 = Direct(40, 24, 0, {});
  palette24.colours = 2;
  palette24.palette = Palette(2);
  add("24 bits with a palette", palette24);
  add("32 bits", Direct(40, 32, 0, {}));
  add("32 bits, fields", Direct(40, 32, 3, rgb8));
  add("32 bits, fields blue high", Direct(40, 32, 3, bgr8));
  add("32 bits, fields 6-6-6", Direct(40, 32, 3, {0x3F000, 0xFC0, 0x3F})).widths = {6, 6, 6};
  add("OS/2 1.x 24 bits", Direct(12, 24, 0, {}));
  add("OS/2 2.x 32 bits, fields", Direct(64, 32, 3, bgr8));
  add("V4 32 bits with alpha", Direct(108, 32, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}));
  add("V4 32 bits, fields with alpha", Direct(108, 32, 3, {0xFF00, 0xFF0000, 0xFF000000, 0xFF}));
  add("V5 16 bits 5-6-5", Direct(124, 16, 3, rgb565)).widths = {5, 6, 5};
  // Qt does not read compression 6 (alpha bit fields); the same masks in a V4 header it does.
  const std::array<quint32, 4> argb8{0xFF00, 0xFF0000, 0xFF000000, 0xFF},
      argb4{0x0F00, 0xF0, 0xF, 0xF000};
  add("32 bits, alpha fields", Direct(40, 32, 6, argb8), MakeBmp(Direct(108, 32, 3, argb8)));
  add("16 bits, alpha fields 4-4-4-4", Direct(40, 16, 6, argb4), MakeBmp(Direct(108, 16, 3, argb4)))
      .widths = {4, 4, 4};
  // Of a palette longer than the depth can use, the first 2^bits colours count.
  add("8 bits, 300 colours", Indexed(40, 8, 300), MakeBmp(Indexed(40, 8, 256)));
  const QByteArray bmp1 = MakeBmp(Indexed(40, 1, 0)), bmp8 = MakeBmp(Indexed(40, 8, 0));
  forms.push_back({"1 bit, 3 colours declared", Patched(bmp1, 46, 3, 4), bmp1});
  // Of a palette that the pixel data begins inside, the colours before the pixels count.
  add("OS/2 1.x 8 bits, 20 colours before the pixels", Indexed(12, 8, 20),
      MakeBmp(Indexed(40, 8, 20)));
  BmpShape before = Indexed(40, 8, 25);
  before.pixels = bmp8.mid(54 + 100, before.pixels.size());
  forms.push_back(
      {"8 bits, pixels inside the palette", Patched(bmp8, 10, 54 + 100, 4), MakeBmp(before)});
  add("V5 24 bits", Direct(124, 24, 0, {}));
  add("RLE8", Runs(8, Rle8(), 4));
  add("RLE8 top-down", Runs(8, Rle8(), -4));
  add("RLE8 without the end mark", Runs(8, Rle8(true, false), 4));
  add("RLE8 ending at its last pixel", Runs(8, Rle8(false, false), 4));
  add("RLE4", Runs(4, Rle4(), 4));
  // Skipped pixels read as explicit runs of the palette's first colour.
  RleStream skip8{8}, explicit8{8};
  skip8.Run(4, 1).Jump(3, 1).Run(6, 2).EndOfRow().Run(2, 3).EndOfRow().Run(13, 4).End();
  explicit8.Run(4, 1).Run(9, 0).EndOfRow().Run(7, 0).Run(6, 2).EndOfRow();
  explicit8.Run(2, 3).Run(11, 0).EndOfRow().Run(13, 4).EndOfRow().Run(13, 0).EndOfRow();
  add("RLE8 skipping", Runs(8, skip8, 5), MakeBmp(Runs(8, explicit8, 5)));
  RleStream skip4{4}, explicit4{4};
  skip4.Run(3, 0x12).Jump(7, 2).Literal({5, 6, 7}).End();
  explicit4.Run(3, 0x12).Run(10, 0).EndOfRow().Run(13, 0).EndOfRow();
  explicit4.Run(10, 0).Literal({5, 6, 7}).EndOfRow().Run(13, 0).EndOfRow();
  add("RLE4 skipping", Runs(4, skip4, 4), MakeBmp(Runs(4, explicit4, 4)));
  forms.push_back({"24 bits, bytes after the pixels", MakeBmp(Direct(40, 24, 0, {})) + "tail", {}});
  return forms;
}

QImage QtReads(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "bmp");
  reader.setAutoDetectImageFormat(false);
  return reader.read().convertToFormat(QImage::Format_RGB32);
}

// Qt shifts a channel narrower than 8 bits up and leaves its low bits zero, where Windows, and
// we, repeat its bits down to the lowest: Qt's picture with its narrow channels widened so.
QImage RepeatingNarrowChannels(QImage qt, const std::array<int, 3>& widths) {
  const auto repeated = [](int channel, int width) {
    const int value = channel >> (8 - width);
    int wide = 0;
    for (int b = 0; b < 8; ++b) wide |= (value >> (width - 1 - b % width) & 1) << (7 - b);
    return wide;
  };
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x) {
      const QRgb p = qt.pixel(x, y);
      qt.setPixel(x, y,
                  qRgb(repeated(qRed(p), widths[0]), repeated(qGreen(p), widths[1]),
                       repeated(qBlue(p), widths[2])));
    }
  return qt;
}

}  // namespace

TEST(BmpReader, ReadsEveryFormPixelForPixelAsQtDoes) {
  for (const Form& form : Forms()) {
    SCOPED_TRACE(form.name);
    const BmpReadResult ours = DecodeBmp(form.bytes);
    ASSERT_TRUE(ours.refusal.isEmpty()) << ours.refusal.toStdString();
    const QImage qt = QtReads(form.reference.isEmpty() ? form.bytes : form.reference);
    ASSERT_FALSE(qt.isNull());
    EXPECT_EQ(ours.picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(ours.picture, RepeatingNarrowChannels(qt, form.widths));
  }
}

// A channel narrower than 8 bits repeats its bits down to the lowest, so that white is 255.
TEST(BmpReader, NarrowChannelsRepeatTheirBits) {
  const struct {
    int bits;
    quint32 compression;
    std::array<int, 3> widths;  // red, green, blue, from the highest bits down to bit 0
    std::array<quint32, 3> values;
    QRgb expected;
  } cases[] = {
      {16, 0, {5, 5, 5}, {31, 31, 31}, qRgb(255, 255, 255)},
      {16, 3, {5, 6, 5}, {31, 63, 31}, qRgb(255, 255, 255)},
      {16, 3, {5, 6, 5}, {16, 32, 1}, qRgb(0x84, 0x82, 0x08)},
      {32, 3, {1, 2, 3}, {1, 2, 5}, qRgb(0xFF, 0xAA, 0xB6)},
      {32, 3, {4, 6, 7}, {9, 33, 65}, qRgb(0x99, 0x86, 0x83)},
      {32, 3, {8, 1, 5}, {0x5A, 0, 16}, qRgb(0x5A, 0, 0x84)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    BmpShape s{40, 1, 1, c.bits, c.compression};
    quint32 pixel = 0;
    for (int i = 2, at = 0; i >= 0; at += c.widths[std::size_t(i)], --i) {
      s.masks[std::size_t(i)] = ((1u << c.widths[std::size_t(i)]) - 1) << at;
      pixel |= c.values[std::size_t(i)] << at;
    }
    s.pixels = PackRows(1, 1, c.bits, [pixel](int, int) { return pixel; });
    EXPECT_EQ(DecodeBmp(MakeBmp(s)).picture.pixel(0, 0), c.expected);
  }
}

TEST(BmpReader, ChannelsWiderThanEightBitsShowTheirTopBits) {
  BmpShape s = Direct(40, 32, 3, {0x3FF00000, 0xFFC00, 0x3FF});
  s.width = 1;
  s.height = 1;
  s.pixels = PackRows(1, 1, 32, [](int, int) { return 0x3FFu << 20 | 0x155u << 10 | 0x2AAu; });
  EXPECT_EQ(DecodeBmp(MakeBmp(s)).picture.pixel(0, 0), qRgb(0xFF, 0x55, 0xAA));
}

TEST(BmpReader, RefusesBrokenBitmapsAndSaysWhy) {
  const QByteArray bmp24 = MakeBmp(Direct(40, 24, 0, {})), bmp8 = MakeBmp(Indexed(40, 8, 0));
  const QByteArray fields = MakeBmp(Direct(40, 16, 3, {0xF800, 0x07E0, 0x001F}));
  QByteArray png;
  QBuffer pngBuffer(&png);
  pngBuffer.open(QIODevice::WriteOnly);
  QImage(8, 8, QImage::Format_RGB32).save(&pngBuffer, "PNG");
  const auto rle8 = [](const RleStream& s) { return MakeBmp(Runs(8, s, 4)); };
  const QByteArray runs = rle8(Rle8());
  const auto huge = [&](quint32 w, quint32 h) {
    return Patched(Patched(bmp24, 18, w, 4), 22, h, 4).left(200);
  };
  const struct {
    const char* name;
    QByteArray bytes;
    const char* why;
  } cases[] = {
      {"empty", QByteArray(), "not a BMP"},
      {"a PNG", png, "not a BMP"},
      {"header cut short", bmp24.left(30), "inside its header"},
      {"pixels one byte short", bmp24.chopped(1), "ends before its pixels do"},
      {"8 bits, half the rows", bmp8.chopped(2 * 16), "ends before its pixels do"},
      {"1000 x 1000 in a small file", huge(1000, 1000), "ends before its pixels do"},
      {"runs ending early", MakeBmp(Runs(8, Rle8(true, false), 5)), "complete the picture"},
      {"runs ending in a literal", runs.chopped(13), "inside a run"},
      {"runs ending in a jump", rle8(RleStream{8}.Jump(1, 1)).chopped(1), "inside a jump"},
      {"run past the row", rle8(RleStream{8}.Run(14, 1).End()), "past the end of row 0"},
      {"literal past the row", rle8(RleStream{8}.Run(11, 1).Literal({1, 2, 3})), "past the end"},
      {"jump past the row", rle8(RleStream{8}.Jump(14, 0).End()), "leaves the picture"},
      {"jump below the picture", rle8(RleStream{8}.Jump(0, 5).End()), "leaves the picture"},
      {"runs beginning past the end", Patched(runs, 10, quint32(runs.size() + 1), 4), "begins"},
      {"huge in a tiny file", huge(100000, 100000), "larger than a picture may be"},
      {"too many pixels", huge(30000, 30000), "larger than a picture may be"},
      {"lowest height", huge(1, 0x80000000u), "larger than a picture may be"},
      {"zero width", huge(0, 5), "picture of 0 x 5"},
      {"zero height", huge(13, 0), "picture of 13 x 0"},
      {"negative width", huge(quint32(-13), 5), "picture of -13 x 5"},
      {"zero planes", Patched(bmp24, 26, 0, 2), "0 colour planes"},
      {"2 bits a pixel", Patched(bmp8, 28, 2, 2), "2 bits a pixel"},
      {"RLE8 with 24 bits", Patched(bmp24, 30, 1, 4), "compression 1 with 24 bits"},
      {"RLE4 with 8 bits", Patched(bmp8, 30, 2, 4), "compression 2 with 8 bits"},
      {"bit fields with 24 bits", Patched(bmp24, 30, 3, 4), "compression 3 with 24 bits"},
      {"JPEG inside", Patched(bmp24, 30, 4, 4), "compression 4"},
      {"alpha bit fields without the alpha mask", Patched(fields, 30, 6, 4), "inside its header"},
      {"header of 56 bytes", Patched(bmp24, 14, 56, 4), "header of 56 bytes"},
      {"V5 header cut short", MakeBmp(Direct(124, 24, 0, {})).left(100), "inside its header"},
      {"palette cut short", bmp8.left(14 + 40 + 100), "inside its palette"},
      {"pixels inside the header", Patched(bmp24, 10, 0, 4), "inside its header or palette"},
      {"masks overlapping", Patched(fields, 58, 0x0FE0, 4), "colour masks"},
      {"mask with a hole", Patched(fields, 54, 0xF00F, 4), "colour masks"},
      {"mask beyond 16 bits", Patched(fields, 54, 0x1F0000, 4), "colour masks"},
      {"empty mask", Patched(fields, 62, 0, 4), "colour masks"},
      {"masks cut off", fields.left(14 + 40 + 8), "inside its colour masks"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const BmpReadResult read = DecodeBmp(c.bytes);
    EXPECT_TRUE(read.picture.isNull());
    EXPECT_TRUE(read.refusal.contains(QLatin1String(c.why))) << read.refusal.toStdString();
  }
}

TEST(BmpReader, AFileLargerThanAnyPictureIsRefusedUnread) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("vast.bmp"));
  WriteBytes(path, MakeBmp(Direct(40, 24, 0, {})));
  ASSERT_TRUE(QFile::resize(path, kBmpMaxFileBytes + 1));  // sparse: nothing is written
  try {
    ReadBmpFile(path);
    FAIL() << "read a file larger than any picture";
  } catch (const AppError& error) {
    EXPECT_TRUE(error.Message().contains(path));
    EXPECT_TRUE(error.Message().contains(QStringLiteral("larger than any picture")));
  }
}

// A picture's size is checked against the sizes its caller accepts once the bytes are known to
// hold it whole and before it is allocated: a file of a few bytes whose runs end at once, so
// declaring the largest picture of one colour, is refused without its 128 MiB; a broken file
// keeps its own reason.
TEST(BmpReader, RefusesSizesItsCallerDoesNotAcceptBeforeAllocating) {
  BmpShape bomb{40, kBmpMaxSide, int(kBmpMaxPixels / kBmpMaxSide), 8, 1};
  bomb.palette = Palette(256);
  bomb.pixels = RleStream{8}.End().bytes;
  const BmpSizes board{{800, 432}, {800, 432}};
  const BmpReadResult huge = DecodeBmp(MakeBmp(bomb), board);
  EXPECT_TRUE(huge.wrongSize && huge.picture.isNull());
  EXPECT_EQ(huge.refusal, "Its picture of 32768 x 1024 pixels is not 800 x 432 pixels.");
  const BmpReadResult cut = DecodeBmp(MakeBmp(Indexed(40, 8, 0)).chopped(1), board);
  EXPECT_FALSE(cut.wrongSize);
  EXPECT_TRUE(cut.refusal.contains(QLatin1String("ends before its pixels")))
      << cut.refusal.toStdString();
}

}  // namespace slatewick
