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

// A started board over the committed assets, its frame composed but not shown, and the pointer
// over it.
Board& StartedBoard() {
  static SystemClock clock;
  static NoSoundOutput sound;
  static Environment env(clock, sound);
  static Board* frm = [] {
    SetExeDir(QStringLiteral(ASSET_DIR));
    SetMessageBoxHandler([](const MessageBoxRequest&) { return BoxAnswer::Ok; });
    auto* f = new Board(env);
    f->Start();
    f->Surface().SetHost(nullptr);
    return f;
  }();
  return *frm;
}

// The board with `count` particles of dust in flight, dropped by clicks spread over it (five a
// click), and nothing else changed.
Board& BoardWithDust(int count) {
  Board& frm = StartedBoard();
  Environment& env = frm.Env();
  env.random.Script([](int n) { return n == 2 ? 0 : n - 1; });  // every press drops 5
  for (int i = 0; frm.Dust().Count() < count; i += 5) {
    const int x = i % 800, y = (i / 800) % 432 + 1;
    env.keys.Left = true;
    frm.Press(MouseButton::Left, x, y);
    env.keys.Left = false;
    frm.Release(MouseButton::Left, x, y);
  }
  env.random.Script({});
  return frm;
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

// A whole frame, before any dust is dropped (it runs first): a board changed without notice
// makes the frame compose it all.
void BM_AllRewriteWhole(benchmark::State& state) {
  Board& frm = StartedBoard();
  frm.Move(300, 200);
  for (auto _ : state) {
    frm.BoardPicture().bits();  // a write the frame was not told of
    frm.Compose();
  }
}
BENCHMARK(BM_AllRewriteWhole);

void BM_AllRewrite(benchmark::State& state) {
  Board& frm = BoardWithDust(int(state.range(0)));
  int n = 0;
  for (auto _ : state) {
    frm.Move(300 + (n++ & 1), 200);  // a new frame each time, so it is presented
    frm.Compose();
  }
}
BENCHMARK(BM_AllRewrite)->Arg(0)->Arg(1000)->Arg(100000);

}  // namespace
