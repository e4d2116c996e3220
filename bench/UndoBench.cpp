#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>

#include "board/BoardHistory.h"
#include "platform/Canvas.h"

using namespace slatewick;

// The undo history's costs at the moments the user waits for it: the step closing at the
// release, and an undo or redo. BM_BoardCopyFloor (a plain copy of the board) is the floor.
namespace {

QImage CleanBoard() {
  QImage board = NewBitmap(800, 432);
  board.fill(ToQRgb(Rgb(0, 80, 0)));
  return board;
}

// A chalk-wide stroke from the board's top-left corner to its bottom-right one.
QImage StrokeAcross() {
  QImage board = CleanBoard();
  Canvas c(board);
  c.pen = {Rgb(255, 255, 255), PenStyle::Solid, 7};
  c.MoveTo(0, 0);
  c.LineTo(799, 431);
  return board;
}

// Every pixel different from the clean board.
QImage WholeBoardChange() {
  QImage board = CleanBoard();
  board.fill(ToQRgb(Rgb(3, 83, 3)));
  return board;
}

void Put(QImage& board, const QImage& picture) {
  std::memcpy(board.bits(), picture.constBits(), std::size_t(picture.sizeInBytes()));
}

// Closing a step: the board alternates between two pictures, each record keeps one step. The
// history fills up to its limit and then drops its oldest steps, as in a long session.
void RecordAgainst(benchmark::State& state, const QImage& changed) {
  const QImage clean = CleanBoard();
  QImage board = clean.copy();
  BoardHistory history;
  history.Watch(board);
  int n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Put(board, n++ % 2 ? clean : changed);
    state.ResumeTiming();
    benchmark::DoNotOptimize(history.Record(board));
  }
  state.counters["steps"] = history.UndoCount();
}

void BM_RecordStrokeAcrossBoard(benchmark::State& state) {
  RecordAgainst(state, StrokeAcross());
}
BENCHMARK(BM_RecordStrokeAcrossBoard)->Unit(benchmark::kMicrosecond);

void BM_RecordWholeBoard(benchmark::State& state) {
  RecordAgainst(state, WholeBoardChange());
}
BENCHMARK(BM_RecordWholeBoard)->Unit(benchmark::kMicrosecond);

// Closing a step at the release of a press that changed nothing: the compare alone.
void BM_RecordNoChange(benchmark::State& state) {
  QImage board = StrokeAcross();
  BoardHistory history;
  history.Watch(board);
  for (auto _ : state) benchmark::DoNotOptimize(history.Record(board));
}
BENCHMARK(BM_RecordNoChange)->Unit(benchmark::kMicrosecond);

// One undo or one redo (alternately) of a step that changed every pixel, as a clear does.
void BM_UndoRedoWholeBoard(benchmark::State& state) {
  QImage board = CleanBoard();
  BoardHistory history;
  history.Watch(board);
  Put(board, WholeBoardChange());
  history.Record(board);
  int n = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(n++ % 2 ? history.Redo(board) : history.Undo(board));
}
BENCHMARK(BM_UndoRedoWholeBoard)->Unit(benchmark::kMicrosecond);

}  // namespace
