#pragma once
// The board's environment for a test: a generator to script, keys to set, a clock to pin and a
// sound output that records what it is asked to do.
#include <gtest/gtest.h>

#include <QDateTime>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "platform/Environment.h"

namespace slatewick {

// The tick count and the local time a test sets; the system's own until it sets them.
class PinnedClock final : public Clock {
 public:
  std::optional<std::uint32_t> ms;
  std::optional<QDateTime> now;
  std::uint32_t Milliseconds() const override { return ms ? *ms : system_.Milliseconds(); }
  QDateTime LocalNow() const override { return now ? *now : system_.LocalNow(); }

 private:
  SystemClock system_;
};

// Keeps every image it is given and every play and stop, in order ("play 0", "stop").
class RecordingSound final : public SoundOutput {
 public:
  std::vector<QByteArray> prepared;
  std::vector<std::string> calls;
  std::function<void()> whilePlaying;  // runs inside every Play
  SoundClip Prepare(const QByteArray& image) override {
    prepared.push_back(image);
    return image.isEmpty() ? SoundClip{} : SoundClip{int(prepared.size()) - 1};
  }
  void Play(SoundClip clip) override {
    calls.push_back("play " + std::to_string(clip.id));
    if (whilePlaying) whilePlaying();
  }
  void Stop() override { calls.push_back("stop"); }
};

struct TestEnvironment {
  PinnedClock clock;
  RecordingSound sound;
  Environment env{clock, sound};
};

// Scripts a generator for its lifetime. Scripted values are handed out in order (each must lie
// in 0..n-1); after them every draw yields fallback(n). The n of every draw is recorded.
class RandomScript {
 public:
  explicit RandomScript(Random& random) : random_(random) {
    random_.Script([this](int n) { return Draw(n); });
  }
  ~RandomScript() { random_.Script({}); }
  RandomScript(const RandomScript&) = delete;
  RandomScript& operator=(const RandomScript&) = delete;

  void Push(std::initializer_list<int> values) { values_.insert(values_.end(), values); }
  void Push(int value, int times) { values_.insert(values_.end(), std::size_t(times), value); }
  void Clear() {
    values_.clear();
    asked.clear();
  }
  bool Exhausted() const { return values_.empty(); }

  std::vector<int> asked;
  std::function<int(int)> fallback = [](int) { return 0; };

 private:
  int Draw(int n) {
    asked.push_back(n);
    if (values_.empty()) return fallback(n);
    const int v = values_.front();
    values_.pop_front();
    EXPECT_GE(v, 0) << "scripted draw " << asked.size();
    EXPECT_LT(v, n) << "scripted draw " << asked.size();
    return v;
  }
  Random& random_;
  std::deque<int> values_;
};

}  // namespace slatewick
