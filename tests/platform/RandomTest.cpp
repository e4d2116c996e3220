#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/Random.h"

namespace slatewick {

TEST(Random, StaysInRangeAndIsRoughlyUniform) {
  Random random;
  random.Seed(42);
  std::array<int, 7> counts{};
  for (int i = 0; i < 70000; ++i) {
    const int r = random(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
    ++counts[std::size_t(r)];
  }
  for (int c : counts) EXPECT_NEAR(c, 10000, 500);
  EXPECT_EQ(random(1), 0);
  EXPECT_EQ(random(0), 0);
  EXPECT_EQ(random(-3), 0);
}

// A seed, or a state taken and given back, gives the same draws again: a run can be replayed.
TEST(Random, SameSeedOrStateSameSequenceAndAScriptWins) {
  Random random;
  const auto draw = [&random] {
    std::vector<int> v;
    for (int i = 0; i < 20; ++i) v.push_back(random(100));
    return v;
  };
  random.Seed(7);
  const auto first = draw();
  random.Seed(7);
  EXPECT_EQ(draw(), first);
  const std::uint64_t state = random.State();
  const auto next = draw();
  random.SetState(state);
  EXPECT_EQ(draw(), next);
  random.Seed(8);
  EXPECT_NE(draw(), first);

  random.Script([](int n) { return n - 1; });
  EXPECT_EQ(random(15), 14);
  random.Script({});
  EXPECT_LT(random(15), 15);
}

}  // namespace slatewick
