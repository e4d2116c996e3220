#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "board/Board.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"

using namespace slatewick;

namespace {

// A started board over the committed assets, its frame composed but not shown.
Board& StartedBoard() {
  static Board* frm = [] {
    SetExeDir(QStringLiteral(ASSET_DIR));
    SetMessageBoxHandler([](const MessageBoxRequest&) { return BoxAnswer::Ok; });
    auto* f = new Board;
    f->Start();
    return f;
  }();
  return *frm;
}

// The floor: one plain copy of an 800 x 480 frame.
void BM_FrameCopyFloor(benchmark::State& state) {
  QImage src(800, 480, QImage::Format_RGB32), dst(800, 480, QImage::Format_RGB32);
  src.fill(Qt::darkGreen);
  for (auto _ : state) {
    std::memcpy(dst.bits(), src.constBits(), std::size_t(src.sizeInBytes()));
    benchmark::DoNotOptimize(dst.bits());
  }
}
BENCHMARK(BM_FrameCopyFloor);

void BM_AllRewrite(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.DXDraw.SetHost(nullptr);
  frm.st.DustList = TKonaList();
  for (int i = 0; i < state.range(0); ++i)
    frm.st.DustList.Add() = {i % 800, (i / 800) % 432, i % 6};
  frm.st.PenX = 300;
  frm.st.PenY = 200;
  int n = 0;
  for (auto _ : state) {
    frm.st.PenX = 300 + (n++ & 1);  // a new frame each time, so it is presented
    frm.Compose();
  }
}
BENCHMARK(BM_AllRewrite)->Arg(0)->Arg(1000)->Arg(100000);

// A whole frame without dust: a board changed without notice makes the frame compose it all.
void BM_AllRewriteWhole(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.DXDraw.SetHost(nullptr);
  frm.st.DustList = TKonaList();
  frm.st.PenX = 300;
  frm.st.PenY = 200;
  for (auto _ : state) {
    frm.st.BoardBitmap.bits();  // a write the frame was not told of
    frm.Compose();
  }
}
BENCHMARK(BM_AllRewriteWhole);

}  // namespace
