#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "board/BoardAccess.h"
#include "files/BoardThumbnails.h"
#include "files/widgets/BoardChooserDialog.h"
#include "platform/Clock.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"

using namespace slatewick;

// The load chooser as the user meets it: opened from the menu, then the selection moved down
// its list, with 500 boards in the board folder. Opening it over an empty board folder is the
// floor of the opening; moving the selection of a plain list of the same titles is the floor of
// a move.
namespace {

constexpr int BoardCount = 500;

// What the chooser reaches of a board: here only the size of its picture matters.
class StillBoard final : public BoardAccess {
 public:
  QImage& BoardPicture() override { return picture_; }
  BoardHistory& BoardChanges() override { return history_; }
  QImage WindowPicture() override { return {}; }
  FrameTimer& Timer() override { return timer_; }
  void LoadPicture(const QImage&) override {}
  QByteArray EncodedStory() const override { return {}; }
  void ContinueStory(Story) override {}
  QDateTime LocalNow() const override { return {}; }

 private:
  QImage picture_{800, 432, QImage::Format_RGB32};
  BoardHistory history_;
  SystemClock clock_;
  FrameTimer timer_{clock_};
};

// A program folder whose users/ holds `count` board files: one board of many colours stored by
// the program, and hard links to it under other titles (each its own directory entry, as far as
// listing and reading go).
QString ProgramFolder(int count) {
  static QTemporaryDir root;
  const QString folder = root.filePath(QString::number(count) + u'/');
  const QString users = folder + QStringLiteral("users/");
  if (QDir(users).exists()) return folder;
  QDir().mkpath(users);
  QImage board(800, 432, QImage::Format_RGB32);
  for (int y = 0; y < board.height(); ++y)
    for (int x = 0; x < board.width(); ++x) board.setPixel(x, y, qRgb(x, y, x ^ y));
  const QString first = users + QStringLiteral("lesson 0.bmp");
  if (count > 0) WriteBmpFile(board, first);
  for (int i = 1; i < count; ++i)
    link(QFile::encodeName(first).constData(),
         QFile::encodeName(users + QStringLiteral("lesson %1.bmp").arg(i)).constData());
  return folder;
}

// Opens the load chooser from the menu and closes it as soon as its window is up and drawn
// (drawn into a picture: the offscreen platform draws no window by itself).
void OpenChooser(benchmark::State& state, int count) {
  SetExeDir(ProgramFolder(count));
  StillBoard board;
  BoardChooserDialog dialog(board, nullptr);
  for (auto _ : state) {
    QTimer::singleShot(0, &dialog, [&] {
      benchmark::DoNotOptimize(dialog.grab());
      dialog.reject();
    });
    ShowLoadChooser(dialog.Form());
  }
  state.counters["boards"] = dialog.FileList()->count();
  SetExeDir(QString());
}

void BM_OpenChooserNoBoardsFloor(benchmark::State& state) {
  OpenChooser(state, 0);
}
BENCHMARK(BM_OpenChooserNoBoardsFloor)->Unit(benchmark::kMillisecond);

void BM_OpenChooser500Boards(benchmark::State& state) {
  OpenChooser(state, BoardCount);
}
BENCHMARK(BM_OpenChooser500Boards)->Unit(benchmark::kMillisecond);

// One step down the list (wrapping at its end), the events it brings (the new thumbnail's
// request, and those thumbnails the worker has made meanwhile) and the window drawn again.
void StepDown(benchmark::State& state, QListWidget& list, QWidget& window) {
  int row = 0;
  for (auto _ : state) {
    list.setCurrentRow(row);
    row = (row + 1) % list.count();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.grab());
  }
}

void BM_MoveSelectionPlainListFloor(benchmark::State& state) {
  QListWidget list;
  for (int i = 0; i < BoardCount; ++i) list.addItem(QStringLiteral("lesson %1").arg(i));
  list.resize(385, 289);
  list.show();
  StepDown(state, list, list);
}
BENCHMARK(BM_MoveSelectionPlainListFloor)->Unit(benchmark::kMicrosecond);

// Through all 500 boards and round again: the cache holds fewer, so most steps ask the worker.
void BM_MoveSelection500Boards(benchmark::State& state) {
  SetExeDir(ProgramFolder(BoardCount));
  StillBoard board;
  BoardChooserDialog dialog(board, nullptr);
  dialog.Form().RunModal = [&] {
    dialog.ShowFields();
    dialog.show();
    StepDown(state, *dialog.FileList(), dialog);
    dialog.reject();
  };
  ShowLoadChooser(dialog.Form());
  SetExeDir(QString());
}
BENCHMARK(BM_MoveSelection500Boards)->Unit(benchmark::kMicrosecond);

// The worker's part of a step, beside its floor BM_ReadBoardFile: a board file read and scaled.
void BM_MakeBoardThumbnail(benchmark::State& state) {
  const QString path = ProgramFolder(1) + QStringLiteral("users/lesson 0.bmp");
  for (auto _ : state) benchmark::DoNotOptimize(MakeBoardThumbnail(path, {800, 432}, {240, 130}));
}
BENCHMARK(BM_MakeBoardThumbnail)->Unit(benchmark::kMicrosecond);

}  // namespace
