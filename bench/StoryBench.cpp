#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "board/Board.h"
#include "files/StoryVideo.h"
#include "platform/MessageBoxes.h"
#include "platform/Places.h"

using namespace slatewick;

// What recording a board's story costs: the same drawing on a board that records its story and on
// one that does not (a board playing a story records nothing); the size of a ten-minute drawing's
// story as stored; and its export as a video beside real time.
namespace {

// Milliseconds that the drawing advances, 10 a frame step.
class StepClock final : public Clock {
 public:
  std::uint32_t ms = 0;
  std::uint32_t Milliseconds() const override { return ms; }
  QDateTime LocalNow() const override { return QDateTime(QDate(2026, 12, 9), QTime(9, 0)); }
};

struct BenchBoard {
  StepClock clock;
  NoSoundOutput sound;
  Environment env{clock, sound};
  Board board{env};
  double t = 0;  // seconds drawn so far
  bool down = false;

  BenchBoard() {
    SetExeDir(QStringLiteral(ASSET_DIR));
    SetMessageBoxHandler([](const MessageBoxRequest&) { return BoxAnswer::Ok; });
    board.Start();
  }
  // One frame step of a lesson: the chalk writes loops across the board for 1.5 s of every 2 s
  // (a move each frame step) and lifts between, moving down a line every 8 s.
  void Step() {
    const bool writing = std::fmod(t, 2.0) < 1.5;
    const int x = int(60 + std::fmod(t * 90, 680) + 14 * std::cos(t * 9));
    const int y = int(60 + 50 * std::floor(std::fmod(t / 8, 1.0) * 7) + 18 * std::sin(t * 13));
    if (writing && !down) {
      env.keys.Left = down = true;
      board.Press(MouseButton::Left, x, y);
    } else if (!writing && down) {
      env.keys.Left = down = false;
      board.Release(MouseButton::Left, x, y);
    }
    board.Move(x, y);
    clock.ms += 10;
    board.Tick();
    t += 0.01;
  }
};

void DrawSeconds(benchmark::State& state, BenchBoard& b) {
  for (auto _ : state)
    for (int i = 0; i < 100; ++i) b.Step();
  state.SetItemsProcessed(state.iterations() * 100);
}

// One second of drawing (100 frame steps and moves) on a board that records its story.
void BM_DrawingRecorded(benchmark::State& state) {
  BenchBoard b;
  DrawSeconds(state, b);
}
BENCHMARK(BM_DrawingRecorded)->Unit(benchmark::kMillisecond);

// The floor: the same drawing on a board that records nothing.
void BM_DrawingUnrecorded(benchmark::State& state) {
  BenchBoard b;
  const Story start = b.board.CurrentStory();
  b.board.StartFrom(start, b.board.Pictures(), {});
  DrawSeconds(state, b);
}
BENCHMARK(BM_DrawingUnrecorded)->Unit(benchmark::kMillisecond);

// A ten-minute lesson's story as its file holds it (counter "bytes"; the goal is under 1 MB).
void BM_StoryOfTenMinutes(benchmark::State& state) {
  for (auto _ : state) {
    BenchBoard b;
    for (int i = 0; i < 60'000; ++i) b.Step();
    const QByteArray file = b.board.EncodedStory();
    state.counters["bytes"] = double(file.size());
    state.counters["events"] = double(b.board.CurrentStory().Events().size());
  }
}
BENCHMARK(BM_StoryOfTenMinutes)->Unit(benchmark::kMillisecond)->Iterations(1);

// A ten-second lesson exported as the menu's video command does (frames played, composed and
// encoded, then the file finished), against real time: x_real_time is the story's seconds per
// second of encoding (the goal is at least 4).
void BM_StoryVideoExport(benchmark::State& state) {
  BenchBoard b;
  for (int i = 0; i < 1000; ++i) b.Step();
  const Story story = b.board.CurrentStory();
  for (auto _ : state) {
    StoryVideo video(story, b.board.Pictures(), b.board.TapSoundImage());
    while (video.EncodeNext()) {
    }
    benchmark::DoNotOptimize(video.Finish());
    state.counters["frames"] = video.FrameCount();
  }
  state.counters["x_real_time"] =
      benchmark::Counter(double(state.iterations()) * 10.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StoryVideoExport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
