#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>

#include "board/BoardHistory.h"
#include "platform/Canvas.h"

using namespace slatewick;

// How many whole-board steps the history holds within its limit, and the process's resident
// memory once it is full (steps: a clear of a written board, as the menu's clear does).
namespace {

long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  return 0;
}

void BM_UndoStepsAtLimit(benchmark::State& state) {
  const long startKiB = ResidentKiB();
  for (auto _ : state) {
    QImage board = NewBitmap(800, 432);
    BoardHistory history;
    history.Watch(board);
    int made = 0;
    // Written and cleared again and again until the oldest steps start to go.
    while (history.UndoCount() == made && made < 20000) {
      Canvas c(board);
      c.brush.Color = Rgb(0, 80, 0) + Rgb(made % 3, made % 3, made % 3);
      c.FillRect({0, 0, 800, 432});
      c.pen = {Rgb(255, 255, 255), PenStyle::Solid, 7};
      c.MoveTo(made % 800, 0);
      c.LineTo(799 - made % 800, 431);
      history.Record(board);
      ++made;
    }
    state.counters["steps"] = history.UndoCount();
    state.counters["MB"] = double(history.Bytes()) / (1 << 20);
    state.counters["RSS_MB"] = double(ResidentKiB()) / 1024;
    state.counters["RSS_start_MB"] = double(startKiB) / 1024;
  }
}
BENCHMARK(BM_UndoStepsAtLimit)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
