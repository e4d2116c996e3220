#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>

#include "board/Board.h"
#include "platform/KeyState.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"

using namespace slatewick;

namespace {

// A board started over the committed assets, with no window: the frame step composes nothing.
Board& StartedBoard() {
  static Board* frm = [] {
    SetExeDir(QStringLiteral(ASSET_DIR));
    SetMessageBoxHandler([](const MessageBoxRequest&) { return BoxAnswer::Ok; });
    auto* f = new Board;
    f->Start();
    f->DXDraw.StopSurface();
    return f;
  }();
  CurrentKeys() = {};
  frm->st.Opt.ShowDust = false;  // no dust piles up over the iterations
  frm->st.PenDown = true;
  frm->st.SelectedChalk = 2;
  frm->st.StrokeCount = 3;
  frm->st.ChalkX = 300;
  frm->st.ChalkY = 200;
  return *frm;
}

// The floor: one plain copy of the 800 x 432 board picture.
void BM_BoardCopyFloor(benchmark::State& state) {
  QImage src(800, 432, QImage::Format_RGB32), dst(800, 432, QImage::Format_RGB32);
  src.fill(Qt::darkGreen);
  for (auto _ : state) {
    std::memcpy(dst.bits(), src.constBits(), std::size_t(src.sizeInBytes()));
    benchmark::DoNotOptimize(dst.bits());
  }
}
BENCHMARK(BM_BoardCopyFloor);

// One NormalWay move of 5 pixels: line, square and specks.
void BM_ChalkStep(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.st.ToolMode = NormalWay;
  int n = 0;
  for (auto _ : state) {
    frm.st.StrokeCount = 3;
    frm.ChalkStep(300 + 5 * (n++ & 1), 200);
  }
}
BENCHMARK(BM_ChalkStep);

// One laid-chalk move of 5 pixels at 30 degrees: a fresh pattern and the band.
void BM_LaidChalkStep(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.st.ToolMode = LaidWay;
  frm.st.ChalkAngle = 30;
  frm.st.ChalkBox = {277, 187, 323, 213};
  int n = 0;
  for (auto _ : state) frm.DrawLaidChalk(300 + 5 * (n++ & 1), 200);
}
BENCHMARK(BM_LaidChalkStep);

// One eraser rectangle, 128 x 54.
void BM_EraserStep(benchmark::State& state) {
  Board& frm = StartedBoard();
  int n = 0;
  for (auto _ : state) frm.EraserStep(300 + 5 * (n++ & 1), 200);
}
BENCHMARK(BM_EraserStep);

// One frame step's dust motion over 100,000 particles that all stay above the tray, so every
// particle moves (the frame itself is not composed).
void BM_DustTick(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.st.PenDown = false;
  TKonaList start;
  for (int i = 0; i < 100000; ++i) start.Add() = {i % 800, i % 400, i % 6};
  for (auto _ : state) {
    state.PauseTiming();
    frm.st.DustList = start;
    state.ResumeTiming();
    frm.Tick(0);
  }
  state.counters["particles"] = frm.st.DustList.Count();
}
BENCHMARK(BM_DustTick)->Unit(benchmark::kMicrosecond);

}  // namespace
