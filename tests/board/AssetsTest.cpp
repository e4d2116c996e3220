// The committed pictures and the tap sound meet what the board reads from them: sizes,
// regions with ink, pure black where the background must show, a playable WAV image.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace slatewick {

namespace {

// The picture, or a null one (after a failure) when it is missing or smaller than w x h.
QImage Load(const char* name, int w, int h) {
  const QString path = QStringLiteral(ASSET_DIR "/") + QString::fromLatin1(name);
  const QImage img(path, "BMP");
  EXPECT_FALSE(img.isNull()) << name;
  EXPECT_GE(img.width(), w) << name;
  EXPECT_GE(img.height(), h) << name;
  return img.width() >= w && img.height() >= h ? img : QImage();
}

bool IsBlack(const QImage& img, int x, int y) {
  return (img.pixel(x, y) & 0xFFFFFF) == 0;
}

// Pixels of the rectangle that are not pure black (the ones a masked copy paints).
int Ink(const QImage& img, int left, int top, int w, int h) {
  int n = 0;
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) n += IsBlack(img, x, y) ? 0 : 1;
  return n;
}

// True when the rectangle's outermost rows and columns are all pure black.
bool BlackBorder(const QImage& img, int left, int top, int w, int h) {
  for (int x = left; x < left + w; ++x)
    if (!IsBlack(img, x, top) || !IsBlack(img, x, top + h - 1)) return false;
  for (int y = top; y < top + h; ++y)
    if (!IsBlack(img, left, y) || !IsBlack(img, left + w - 1, y)) return false;
  return true;
}

constexpr int kChalkRgb[6][3] = {{255, 255, 255}, {255, 252, 30}, {233, 135, 193},
                                 {130, 200, 230}, {180, 140, 75}, {85, 150, 85}};

// The mean colour of the rectangle's ink lies within `tolerance` of chalk j's colour.
void ExpectChalkColour(const QImage& img, int left, int top, int w, int h, int j, int tolerance) {
  long sum[3] = {0, 0, 0};
  const int n = Ink(img, left, top, w, h);
  ASSERT_GT(n, 0);
  for (int y = top; y < top + h; ++y)
    for (int x = left; x < left + w; ++x) {
      if (IsBlack(img, x, y)) continue;
      const QRgb p = img.pixel(x, y);
      sum[0] += qRed(p);
      sum[1] += qGreen(p);
      sum[2] += qBlue(p);
    }
  for (int c = 0; c < 3; ++c)
    EXPECT_NEAR(sum[c] / n, kChalkRgb[j][c], tolerance) << "chalk " << j << " channel " << c;
}

TEST(AssetsTest, TrayColumnIsFortyEightOpaqueRows) {
  const QImage tray = Load("Ukezara.bmp", 1, 48);
  ASSERT_FALSE(tray.isNull());
  EXPECT_EQ(Ink(tray, 0, 0, 1, 48), 48);
}

TEST(AssetsTest, ChalkPiecesAreRoundedSticksInTheirColours) {
  const QImage chalk = Load("Chalk.bmp", 312, 11);
  ASSERT_FALSE(chalk.isNull());
  for (int j = 0; j < 6; ++j) {
    const int left = 52 * j;
    EXPECT_GT(Ink(chalk, left, 0, 52, 11), 52 * 11 * 9 / 10) << "chalk " << j;
    EXPECT_TRUE(IsBlack(chalk, left, 0) && IsBlack(chalk, left + 51, 0) &&
                IsBlack(chalk, left, 10) && IsBlack(chalk, left + 51, 10))
        << "corners of chalk " << j;
    ExpectChalkColour(chalk, left + 8, 2, 36, 7, j, 40);
  }
}

TEST(AssetsTest, HeldChalksHaveTheirTipAtThePointer) {
  const QImage held = Load("MotiChalk.bmp", 240, 40);
  ASSERT_FALSE(held.isNull());
  for (int j = 0; j < 6; ++j) {
    const int left = 40 * j;
    EXPECT_TRUE(IsBlack(held, left + 39, 0) && IsBlack(held, left, 39))
        << "the corners beside the stick are transparent, chalk " << j;
    EXPECT_GT(Ink(held, left + 1, 1, 5, 5), 10) << "ink at the tip of chalk " << j;
    ExpectChalkColour(held, left + 3, 3, 10, 10, j, 50);
  }
}

TEST(AssetsTest, EraserAndHandHaveInkOnBlack) {
  const QImage eraser = Load("Erase.bmp", 128, 72);
  ASSERT_FALSE(eraser.isNull());
  EXPECT_GT(Ink(eraser, 0, 0, 128, 72), 128 * 72 * 8 / 10);
  EXPECT_TRUE(IsBlack(eraser, 0, 0) && IsBlack(eraser, 127, 0));

  const QImage hand = Load("Hand.bmp", 24, 74);
  ASSERT_FALSE(hand.isNull());
  EXPECT_GT(Ink(hand, 0, 0, 24, 74), 24 * 74 / 2);
  EXPECT_GT(Ink(hand, 0, 0, 12, 4), 0) << "fingertip at the top left";
  EXPECT_TRUE(IsBlack(hand, 23, 0)) << "background right of the finger";
}

TEST(AssetsTest, EveryGlyphCellAndTheMenuButtonHaveInkInsideABlackBorder) {
  const QImage sheet = Load("Moji.bmp", 512, 128);
  ASSERT_FALSE(sheet.isNull());
  struct Cell {
    int left, top, w, h;
  };
  std::vector<Cell> cells;
  for (int d = 0; d < 10; ++d) cells.push_back({32 * d, 0, 32, 64});
  cells.push_back({320, 0, 64, 64});
  cells.push_back({384, 0, 64, 64});
  for (int w = 0; w < 7; ++w) cells.push_back({64 * w, 64, 64, 64});
  // Glyphs are copied onto the board: their ink is never darker than the board's green,
  // so no dark fringe shows around the strokes.
  for (const Cell& c : cells) {
    int dark = 0;
    for (int y = c.top; y < c.top + c.h; ++y)
      for (int x = c.left; x < c.left + c.w; ++x)
        dark += !IsBlack(sheet, x, y) && qGreen(sheet.pixel(x, y)) < 80 ? 1 : 0;
    EXPECT_EQ(dark, 0) << "cell at " << c.left << "," << c.top;
    EXPECT_GT(Ink(sheet, c.left, c.top, c.w, c.h), 120) << "cell at " << c.left << "," << c.top;
    EXPECT_LT(Ink(sheet, c.left, c.top, c.w, c.h), c.w * c.h / 2) << "cell at " << c.left;
    EXPECT_TRUE(BlackBorder(sheet, c.left, c.top, c.w, c.h)) << "cell at " << c.left;
  }
  EXPECT_GT(Ink(sheet, 448, 64, 64, 56), 64 * 56 / 3) << "menu button";
}

TEST(AssetsTest, TapSoundIsAShortPcmWave) {
  QFile f(QStringLiteral(ASSET_DIR "/start0.wav"));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray wav = f.readAll();
  ASSERT_GE(wav.size(), 44);
  auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
  auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
  EXPECT_EQ(wav.mid(0, 4), "RIFF");
  EXPECT_EQ(u32(4), quint32(wav.size() - 8));
  EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
  EXPECT_EQ(u16(20), 1) << "PCM";
  EXPECT_EQ(u16(22), 1) << "mono";
  const quint32 rate = u32(24);
  EXPECT_TRUE(rate == 22050 || rate == 44100);
  EXPECT_EQ(u16(34), 16);
  EXPECT_EQ(u32(28), rate * 2);
  EXPECT_EQ(u16(32), 2);

  const int data = 20 + int(u32(16));
  ASSERT_EQ(wav.mid(data, 4), "data");
  const quint32 bytes = u32(data + 4);
  ASSERT_EQ(qsizetype(data + 8 + bytes), wav.size());
  const double ms = 1000.0 * bytes / 2 / rate;
  EXPECT_GE(ms, 60);
  EXPECT_LE(ms, 120);
  int loud = 0;
  for (quint32 i = 0; i < bytes; i += 2)
    loud = std::max(loud, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + data + 8 + i))));
  EXPECT_GT(loud, 8000) << "audible";
}

}  // namespace

}  // namespace slatewick
