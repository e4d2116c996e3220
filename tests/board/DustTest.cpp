// The dust's own rules: how it moves, where it leaves, and how it is drawn.
#include <gtest/gtest.h>

#include <vector>

#include "board/Dust.h"
#include "board/Hand.h"
#include "support/TestEnvironment.h"

namespace slatewick {

namespace {

constexpr int TrayTop = 432;

struct DustTest : ::testing::Test {
  void Add(int x, int y, int chalk = 0) { dust.Add({x, y, chalk}); }
  Random random;
  RandomScript script{random};
  DustList dust;
};

}  // namespace

TEST_F(DustTest, RemovesAtMostOneParticleAndStopsTheMotionThere) {
  Add(50, 430);
  Add(60, 432);
  Add(70, 100);
  script.Push({0, 2, 4, 0});  // drift right; fall 4 to 436
  dust.Move(TrayTop, random);
  EXPECT_EQ(script.asked, (std::vector<int>{5, 3, 5, 4}));
  EXPECT_EQ(dust.Particles(), (std::vector<DustParticle>{{51, 430, 0}, {70, 100, 0}}));

  script.Clear();
  script.Push({1, 0, 3, 3});
  dust.Move(TrayTop, random);
  EXPECT_EQ(script.asked, (std::vector<int>{5, 3, 5, 4}));
  EXPECT_EQ(dust.Particles(), (std::vector<DustParticle>{{50, 430, 0}, {70, 107, 0}}));
}

TEST_F(DustTest, AParticleOnTheTraysFirstRowStaysUntilItFalls) {
  Add(10, 432);
  script.Push({2, 0});
  dust.Move(TrayTop, random);
  EXPECT_EQ(dust.Particles(), (std::vector<DustParticle>{{9, 432, 0}}));
  script.Push({3, 0});
  dust.Move(TrayTop, random);
  EXPECT_EQ(dust.Count(), 0);
}

TEST_F(DustTest, EachParticleShowsItsChalksColourInsideTheFrame) {
  QImage frame(800, 480, QImage::Format_RGB32);
  frame.fill(0);
  Add(0, 0, 1);
  Add(799, 479, 5);
  Add(-1, 10, 2);  // outside: no pixel
  Add(400, 480, 2);
  dust.Draw(frame);
  EXPECT_EQ(FromQRgb(frame.pixel(0, 0)), ChalkColours[1]);
  EXPECT_EQ(FromQRgb(frame.pixel(799, 479)), ChalkColours[5]);
  QImage rest = frame;
  rest.setPixel(0, 0, 0xFF000000u);
  rest.setPixel(799, 479, 0xFF000000u);
  QImage black(800, 480, QImage::Format_RGB32);
  black.fill(0);
  EXPECT_EQ(rest, black);
}

}  // namespace slatewick
