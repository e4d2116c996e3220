#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/PictureFiles.h"
#include "platform/WebmWriter.h"

using namespace slatewick;

// Exporting a story as a video: 10 seconds at 100 frames a second, 800 x 480, encoded as the
// export does it. Real time (100 frames a second) is the floor an export must beat; the story's
// own frames, drawn without encoding, are measured beside it.
namespace {

constexpr int Width = 800, Height = 480, BoardHeight = 432, Fps = 100, Seconds = 10;

// A board being written on: chalk strokes laid a little each frame along a pointer that writes
// loops, lifts and moves on; a few specks of dust falling from the chalk; the hand picture
// following the pointer; the tray below the board. Most of each frame stays as it was.
class Story {
 public:
  Story()
      : board_(Width, BoardHeight, QImage::Format_RGB32),
        frame_(Width, Height, QImage::Format_RGB32) {
    board_.fill(qRgb(0x1E, 0x4A, 0x32));
    hand_ = ReadBmpFile(QStringLiteral(ASSET_DIR "/Hand.bmp"));
    tray_ = ReadBmpFile(QStringLiteral(ASSET_DIR "/Ukezara.bmp"));
    dust_.resize(40);
  }

  // The frame after the last one.
  const QImage& Next() {
    const double t = double(n_++) / Fps;
    // Writes for 1.5 s of every 2 s, a loop of letters across the board, a line down every 8 s.
    const bool writing = std::fmod(t, 2.0) < 1.5;
    const double x = 60 + std::fmod(t * 90, 680) + 14 * std::cos(t * 9);
    const double y = 60 + 50 * std::floor(std::fmod(t / 8, 1.0) * 7) + 18 * std::sin(t * 13);
    if (writing && n_ > 1) Stroke(lastX_, lastY_, x, y);
    lastX_ = x;
    lastY_ = y;
    std::memcpy(frame_.bits(), board_.constBits(), std::size_t(board_.sizeInBytes()));
    QPainter painter(&frame_);
    painter.fillRect(0, BoardHeight, Width, Height - BoardHeight, QColor(0x5A, 0x3C, 0x28));
    painter.drawImage(Width / 2 - tray_.width() / 2, BoardHeight, tray_);
    painter.end();
    for (Speck& speck : dust_) {
      if (speck.y >= BoardHeight || speck.y < 0) {
        if (!writing || Random() % 8) continue;
        speck = {int(x) + int(Random() % 9) - 4, int(y) + 2, 1 + int(Random() % 3)};
      }
      speck.y += speck.fall;
      if (speck.y < BoardHeight && speck.x >= 0 && speck.x < Width)
        frame_.setPixel(speck.x, speck.y, qRgb(0xE8, 0xE8, 0xE0));
    }
    painter.begin(&frame_);
    painter.drawImage(int(x), int(y) - 4, hand_);
    return frame_;
  }

  // The last frame again: the writer pauses.
  const QImage& Pause() const { return frame_; }

  bool TapsNow() const { return n_ % (2 * Fps) == 1; }

 private:
  struct Speck {
    int x = 0, y = -1, fall = 1;
  };

  std::uint32_t Random() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return seed_ >> 8;
  }

  // A textured line of chalk: dabs of 5 x 5 pixels, each pixel laid or left at random.
  void Stroke(double x0, double y0, double x1, double y1) {
    const int steps = 1 + int(std::hypot(x1 - x0, y1 - y0));
    for (int s = 0; s <= steps; ++s) {
      const int cx = int(x0 + (x1 - x0) * s / steps), cy = int(y0 + (y1 - y0) * s / steps);
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const int px = cx + dx, py = cy + dy;
          if (px < 0 || py < 0 || px >= Width || py >= BoardHeight || Random() % 3 == 0) continue;
          const int shade = 0xD0 + int(Random() % 0x30);
          board_.setPixel(px, py, qRgb(shade, shade, shade - 8));
        }
    }
  }

  QImage board_, frame_, hand_, tray_;
  std::vector<Speck> dust_;
  double lastX_ = 0, lastY_ = 0;
  int n_ = 0;
  std::uint32_t seed_ = 12345;
};

AudioClip TapSound() {
  QFile file(QStringLiteral(ASSET_DIR "/start0.wav"));
  file.open(QIODevice::ReadOnly);
  return DecodeWave(file.readAll());
}

// The processor time of the whole process (all its threads), in seconds.
double ProcessSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Frames a second and the ratio to real time; with `started` (ProcessSeconds before the loop),
// the processor time a frame takes on all threads, which tells what other programs took of the
// cores during the run.
void ReportRate(benchmark::State& state, int seconds, double started = -1) {
  const double frames = double(state.iterations()) * Fps * seconds;
  state.counters["frames_per_s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
  state.counters["x_real_time"] = benchmark::Counter(frames / Fps, benchmark::Counter::kIsRate);
  if (started >= 0)
    state.counters["cpu_ms_per_frame"] = (ProcessSeconds() - started) * 1e3 / frames;
}

// The floor: the story's frames drawn, nothing encoded.
void BM_VideoStoryFramesFloor(benchmark::State& state) {
  for (auto _ : state) {
    Story story;
    for (int i = 0; i < Fps * Seconds; ++i) benchmark::DoNotOptimize(story.Next().constBits());
  }
  ReportRate(state, Seconds);
}
BENCHMARK(BM_VideoStoryFramesFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VideoExportStory(benchmark::State& state) {
  const AudioClip tap = TapSound();
  const double started = ProcessSeconds();
  for (auto _ : state) {
    Story story;
    WebmWriter writer({});
    for (int i = 0; i < Fps * Seconds; ++i) {
      const QImage& frame = story.Next();
      if (story.TapsNow()) writer.PlaySound(tap);
      writer.AddFrame(frame);
    }
    const QByteArray file = writer.Finish();
    state.counters["file_kB"] = double(file.size()) / 1000;
  }
  ReportRate(state, Seconds, started);
}
BENCHMARK(BM_VideoExportStory)->Unit(benchmark::kMillisecond)->UseRealTime();

// The size of a long, mostly still export: 30 seconds of a written board where the writer
// pauses, moving the chalk once a second, as MB for 10 minutes.
void BM_VideoExportPausedBoard(benchmark::State& state) {
  constexpr int PausedSeconds = 30;
  Story story;
  for (int i = 0; i < Fps * Seconds; ++i) story.Next();
  const double started = ProcessSeconds();
  for (auto _ : state) {
    WebmWriter writer({});
    for (int i = 0; i < Fps * PausedSeconds; ++i)
      writer.AddFrame(i % Fps ? story.Pause() : story.Next());
    const QByteArray file = writer.Finish();
    state.counters["MB_per_10_min"] = double(file.size()) * (600 / PausedSeconds) / 1e6;
  }
  ReportRate(state, PausedSeconds, started);
}
BENCHMARK(BM_VideoExportPausedBoard)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
