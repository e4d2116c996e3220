#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "board/DustMotion.h"
#include "platform/Random.h"

namespace slatewick {

namespace {

constexpr int TrayTop = 432;

// `count` particles spread over the board, those from `from` on at height `y`.
TKonaList Particles(int count, int from, int y) {
  TKonaList dust;
  for (int i = 0; i < count; ++i) dust.Add() = {i * 37 % 800, i < from ? i * 13 % 400 : y, i % 6};
  return dust;
}

struct Outcome {
  std::vector<TKona> dust;
  int next;  // the generator's next Random(1000)
};

}  // namespace

// The vector code draws ahead, many particles at once: the particles it moves, the one it removes
// and where the generator is left must be what the plain draws, one by one, give.
TEST(DustMotion, MovesAsThePlainDrawsDo) {
  struct Case {
    int from, y;
    bool removes;
  };
  const std::vector<Case> cases = {
      {203, 0, false},  // none reaches the tray
      // the particle at `from` is past the tray's first row already: removed whatever it draws
      {0, TrayTop + 1, true},
      {3, TrayTop + 1, true},
      {4, TrayTop + 1, true},
      {7, TrayTop + 1, true},
      {8, TrayTop + 1, true},
      {15, TrayTop + 1, true},
      {16, TrayTop + 1, true},
      {101, TrayTop + 1, true},
      {202, TrayTop + 1, true},
      {40, TrayTop - 5, true},  // the first to fall 6 or 7 pixels goes
      {40, TrayTop - 6, true},  // the first to fall 7 pixels goes
  };
  for (const DustVectors vectors : {DustVectors::Widest, DustVectors::Baseline}) {
    for (std::size_t c = 0; c < cases.size(); ++c) {
      SCOPED_TRACE(testing::Message()
                   << "case " << c << ", widest " << (vectors == DustVectors::Widest));
      const auto [from, y, removes] = cases[c];
      Randomize(1000 + c);
      TKonaList fast = Particles(203, from, y);
      MoveDust(fast, TrayTop, vectors);
      const Outcome got{fast.Items(), Random(1000)};

      Randomize(1000 + c);
      std::uint64_t replay = RandomRun().State();
      SetRandomSource([&replay](int n) { return ScaledDraw(NextRandomBits(replay), n); });
      TKonaList plain = Particles(203, from, y);
      MoveDust(plain, TrayTop, vectors);
      SetRandomSource({});
      const Outcome want{plain.Items(), ScaledDraw(NextRandomBits(replay), 1000)};

      EXPECT_EQ(want.dust.size(), removes ? 202u : 203u);
      EXPECT_EQ(got.dust, want.dust);
      EXPECT_EQ(got.next, want.next);
    }
  }
}

}  // namespace slatewick
