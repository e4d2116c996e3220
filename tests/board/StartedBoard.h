#pragma once
// A board started the way the program starts it: pictures, tap sound and settings from a
// folder that stands beside the executable, message boxes answered and recorded.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "board/Board.h"
#include "board/BoardFixture.h"
#include "platform/KeyState.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"
#include "support/ProcessSeams.h"

namespace slatewick {

// The folder of the program with every data file copied from the assets, the current folder
// and the executable's; tests remove or replace files in it before start-up. Message boxes are
// recorded and answered by `seams`.
class ProgramFolder {
 public:
  ProgramFolder() {
    for (const QString& name : QDir(QStringLiteral(ASSET_DIR)).entryList(QDir::Files))
      QFile::copy(QStringLiteral(ASSET_DIR "/") + name, Path(name));
    seams.SetCurrentFolder(dir_.path());
  }
  QString Path(const QString& name) const { return dir_.filePath(name); }
  void Remove(const QString& name) const { QFile::remove(Path(name)); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile f(Path(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  }

 private:
  QTemporaryDir dir_;

 public:
  ProcessSeams seams{dir_.path()};
  std::vector<QString>& messages = seams.messages;
};

// A board started by the program's own start-up in an 800 x 480 window, without the date.
class StartedBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.Write(QStringLiteral("VezozazOption.ini"), "[Opt]\r\nRunWithDay=0\r\n");
    frm.Start();
  }

  BoardState& st() { return frm.st; }
  // Composes a frame now and returns it.
  const QImage& Frame() {
    frm.Compose();
    return frm.DXDraw.FrontBuffer();
  }

  ProgramFolder folder;
  FakeBoardHost host;
  Board frm{&host};
};

}  // namespace slatewick
