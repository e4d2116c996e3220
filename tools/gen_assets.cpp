// Draws the six pictures and the tap sound that lie beside the program.
// Usage: gen_assets <output folder>. The output is the same on every run.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "Assets.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the glyphs
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_assets <output folder>\n");
    return 2;
  }
  try {
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path()))
      throw std::runtime_error("cannot create " + out.path().toStdString());
    SaveBmp(MakeTray(), out.filePath("Ukezara.bmp"));
    SaveBmp(MakeChalkPieces(), out.filePath("Chalk.bmp"));
    SaveBmp(MakeEraser(), out.filePath("Erase.bmp"));
    SaveBmp(MakeHeldChalks(), out.filePath("MotiChalk.bmp"));
    SaveBmp(MakeHand(), out.filePath("Hand.bmp"));
    SaveBmp(MakeGlyphSheet(), out.filePath("Moji.bmp"));
    WriteFile(out.filePath("start0.wav"), MakeTapSound());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
