#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>

#include "board/ChalkTools.h"
#include "board/Dust.h"

using namespace slatewick;

namespace {

// The chalk tools over a clean board and the pink chalk held to it mid-stroke, without dust.
struct Tools {
  Tools() {
    picture.fill(ToQRgb(BoardColour));
    settings.ShowDust = false;  // no dust piles up over the iterations
    hand.tool = 2;
    hand.toolDown = true;
    hand.strokeMoves = 3;
    hand.chalkX = 300;
    hand.chalkY = 200;
  }
  QImage picture = QImage(800, 432, QImage::Format_RGB32);
  Hand hand;
  DustList dust;
  Settings settings;
  Random random;
  ChalkTools tools{
      picture, hand, dust, settings, random, BoardColour, [] { return QSize(800, 480); }};
};

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
  Tools t;
  int n = 0;
  for (auto _ : state) {
    t.hand.strokeMoves = 3;
    t.tools.ChalkStep(300 + 5 * (n++ & 1), 200);
  }
}
BENCHMARK(BM_ChalkStep);

// One laid-chalk move of 5 pixels at 30 degrees: a fresh pattern and the band.
void BM_LaidChalkStep(benchmark::State& state) {
  Tools t;
  t.hand.way = ChalkWay::Laid;
  t.hand.chalkAngle = 30;
  t.hand.ends = {277, 187, 323, 213};
  int n = 0;
  for (auto _ : state) t.tools.LaidChalkStep(300 + 5 * (n++ & 1), 200);
}
BENCHMARK(BM_LaidChalkStep);

// One eraser rectangle, 128 x 54.
void BM_EraserStep(benchmark::State& state) {
  Tools t;
  int n = 0;
  for (auto _ : state) t.tools.EraserStep(300 + 5 * (n++ & 1), 200);
}
BENCHMARK(BM_EraserStep);

// One frame step's dust motion over 100,000 particles that all stay above the tray, so every
// particle moves.
void BM_DustTick(benchmark::State& state) {
  DustList start;
  for (int i = 0; i < 100000; ++i) start.Add({i % 800, i % 400, i % 6});
  DustList dust;
  Random random;
  for (auto _ : state) {
    state.PauseTiming();
    dust = start;
    state.ResumeTiming();
    dust.Move(432, random);
  }
  state.counters["particles"] = dust.Count();
}
BENCHMARK(BM_DustTick)->Unit(benchmark::kMicrosecond);

}  // namespace
