// Draws the six pictures and the tap sound that lie beside the program and, given a second
// folder, the program's icons (slatewick-<size>.png).
// Usage: gen_assets <output folder> [<icon folder>]. The output is the same on every run.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

#include "Assets.h"

namespace {

QDir MadeFolder(const char* path) {
  const QDir dir(QString::fromLocal8Bit(path));
  if (!dir.exists() && !QDir().mkpath(dir.path()))
    throw std::runtime_error("cannot create " + dir.path().toStdString());
  return dir;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the glyphs
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: gen_assets <output folder> [<icon folder>]\n");
    return 2;
  }
  try {
    const QDir out = MadeFolder(argv[1]);
    SaveBmp(MakeTray(), out.filePath("Ukezara.bmp"));
    SaveBmp(MakeChalkPieces(), out.filePath("Chalk.bmp"));
    SaveBmp(MakeEraser(), out.filePath("Erase.bmp"));
    SaveBmp(MakeHeldChalks(), out.filePath("MotiChalk.bmp"));
    SaveBmp(MakeHand(), out.filePath("Hand.bmp"));
    SaveBmp(MakeGlyphSheet(), out.filePath("Moji.bmp"));
    WriteFile(out.filePath("start0.wav"), MakeTapSound());
    if (argc == 3) {
      const QDir icons = MadeFolder(argv[2]);
      for (int size : kIconSizes) {
        const QString path = icons.filePath(QStringLiteral("slatewick-%1.png").arg(size));
        if (!MakeIcon(size).save(path, "PNG"))
          throw std::runtime_error("cannot write " + path.toStdString());
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
