#include <benchmark/benchmark.h>

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstring>

#include "platform/PictureFiles.h"

using namespace slatewick;

namespace {

const char* const kPictures[] = {"Ukezara.bmp",   "Chalk.bmp", "Erase.bmp",
                                 "MotiChalk.bmp", "Hand.bmp",  "Moji.bmp"};

QString Asset(const char* name) {
  return QStringLiteral(ASSET_DIR "/") + QLatin1String(name);
}

// A board file as the program stores it: 800 x 432 at 24 bits a pixel.
const QString& BoardFile() {
  static QTemporaryDir dir;
  static const QString path = [] {
    QImage board(800, 432, QImage::Format_RGB32);
    for (int y = 0; y < board.height(); ++y)
      for (int x = 0; x < board.width(); ++x) board.setPixel(x, y, qRgb(x, y, x ^ y));
    const QString p = dir.filePath(QStringLiteral("board.bmp"));
    WriteBmpFile(board, p);
    return p;
  }();
  return path;
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

// Qt's own reader, as board files were read before.
QImage QtRead(const QString& path) {
  QImageReader reader(path, "bmp");
  reader.setAutoDetectImageFormat(false);
  return reader.read().convertToFormat(QImage::Format_RGB32);
}

// The floor: the file's bytes read and copied once into a picture of the board's size.
void BM_BoardFileCopyFloor(benchmark::State& state) {
  QImage board(800, 432, QImage::Format_RGB32);
  for (auto _ : state) {
    const QByteArray bytes = Bytes(BoardFile());
    std::memcpy(board.bits(), bytes.constData(),
                std::min(std::size_t(bytes.size()), std::size_t(board.sizeInBytes())));
    benchmark::DoNotOptimize(board.bits());
  }
}
BENCHMARK(BM_BoardFileCopyFloor);

void BM_ReadBoardFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmpFile(BoardFile()));
}
BENCHMARK(BM_ReadBoardFile);

void BM_QtReadBoardFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(QtRead(BoardFile()));
}
BENCHMARK(BM_QtReadBoardFile);

// The floor for the six start-up pictures: their bytes read.
void BM_StartupPicturesReadFloor(benchmark::State& state) {
  for (auto _ : state)
    for (const char* name : kPictures) benchmark::DoNotOptimize(Bytes(Asset(name)));
}
BENCHMARK(BM_StartupPicturesReadFloor);

void BM_LoadStartupPictures(benchmark::State& state) {
  for (auto _ : state)
    for (const char* name : kPictures) benchmark::DoNotOptimize(ReadBmpFile(Asset(name)));
}
BENCHMARK(BM_LoadStartupPictures);

// As the pictures were loaded before: QImage::load, any format, then converted.
void BM_QtLoadStartupPictures(benchmark::State& state) {
  for (auto _ : state)
    for (const char* name : kPictures) {
      QImage picture;
      picture.load(Asset(name));
      benchmark::DoNotOptimize(picture.convertToFormat(QImage::Format_RGB32));
    }
}
BENCHMARK(BM_QtLoadStartupPictures);

}  // namespace
