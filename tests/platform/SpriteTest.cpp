#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Sprite.h"

namespace slatewick {

namespace {

constexpr QRgb Board = 0xFF005000u;
constexpr int X = 100, Y = 60;  // where the sprite's centre lands

class SpriteTest : public ::testing::Test {
 protected:
  SpriteTest() : target(NewBitmap(200, 120)) { target.fill(Board); }
  const QImage& Picture() const { return LaidChalkSprite().picture; }
  QRgb SpritePixel(int frame, int x, int y) const { return Picture().pixel(52 * frame + x, y); }
  void Draw(int frame, int angle) {
    DrawSpriteRotated(target, LaidChalkSprite(), X, Y, frame, angle);
  }
  // Where a sprite pixel lands must show it, or the board where the sprite is black.
  void ExpectPlaced(int frame, int i, int j, QPoint at) const {
    const QRgb s = SpritePixel(frame, i, j);
    EXPECT_EQ(target.pixel(at), (s & 0xFFFFFF) ? s : Board) << i << "," << j;
  }
  int Changed() const {
    int n = 0;
    for (int y = 0; y < target.height(); ++y)
      for (int x = 0; x < target.width(); ++x) n += target.pixel(x, y) != Board;
    return n;
  }
  QRect ChangedBox() const {
    QRect box;
    for (int y = 0; y < target.height(); ++y)
      for (int x = 0; x < target.width(); ++x)
        if (target.pixel(x, y) != Board) box |= QRect(x, y, 1, 1);
    return box;
  }
  int Opaque(int frame) const {
    int n = 0;
    for (int j = 0; j < 11; ++j)
      for (int i = 0; i < 52; ++i) n += (SpritePixel(frame, i, j) & 0xFFFFFF) != 0;
    return n;
  }

  QImage target;
};

TEST_F(SpriteTest, LaidChalkPictureHasSixFramesInTheChalkColours) {
  const Sprite& laid = LaidChalkSprite();
  EXPECT_EQ(laid.picture.size(), QSize(312, 11));
  EXPECT_EQ(laid.frameWidth, 52);
  EXPECT_EQ(laid.frameHeight, 11);
  EXPECT_EQ(laid.FrameCount(), 6);
  const std::array<QRgb, 6> colours = {qRgb(255, 255, 255), qRgb(255, 252, 30), qRgb(233, 135, 193),
                                       qRgb(130, 200, 230), qRgb(180, 140, 75), qRgb(85, 150, 85)};
  for (int f = 0; f < 6; ++f) {
    EXPECT_EQ(SpritePixel(f, 30, 4), colours[std::size_t(f)]) << f;
    // Rounded ends: the corners are transparent, the middle of each end is not.
    for (int x : {0, 51}) {
      for (int y : {0, 10}) EXPECT_EQ(SpritePixel(f, x, y) & 0xFFFFFF, 0u) << x << "," << y;
      EXPECT_NE(SpritePixel(f, x, 5) & 0xFFFFFF, 0u) << x;
    }
    // The rim is darker than the body: the lower edge most of all.
    EXPECT_LT(qGray(SpritePixel(f, 30, 10)), qGray(SpritePixel(f, 30, 0)));
    EXPECT_LT(qGray(SpritePixel(f, 30, 0)), qGray(SpritePixel(f, 30, 4)));
  }
}

// The chalky rough spots of the body stand where they always stood, in every frame.
TEST_F(SpriteTest, RoughSpotsKeepTheirPlaces) {
  const std::vector<QPoint> spots{{39, 2}, {21, 3}, {39, 3}, {9, 4}, {17, 5}, {42, 6}};
  for (int f = 0; f < 6; ++f) {
    std::vector<QPoint> found;
    for (int y = 2; y <= 6; ++y)
      for (int x = 9; x <= 47; ++x)
        if (SpritePixel(f, x, y) != SpritePixel(f, 30, 4)) found.push_back({x, y});
    EXPECT_EQ(found, spots) << f;
  }
}

// The turns by quarters place every pixel of the frame exactly, and nothing else.
TEST_F(SpriteTest, QuarterTurnsPlaceEveryPixelAboutThePoint) {
  const struct {
    const char* name;
    int frame, angle;
    QPoint (*lands)(int i, int j);  // where the picture's pixel (i, j) lands
    QRect box;
  } turns[] = {
      {"0: the frame centred on the point", 2, 0,
       [](int i, int j) { return QPoint(X - 26 + i, Y - 5 + j); }, QRect(X - 26, Y - 5, 52, 11)},
      // Clockwise: the picture's x runs down the screen, its y runs right to left.
      {"64: upright, the right end down", 3, 64,
       [](int i, int j) { return QPoint(X + 5 - j, Y - 26 + i); }, QRect(X - 5, Y - 26, 11, 52)},
      {"128: mirrored both ways", 1, 128,
       [](int i, int j) { return QPoint(X + 26 - i, Y + 5 - j); }, QRect(X - 25, Y - 5, 52, 11)},
  };
  for (const auto& turn : turns) {
    SCOPED_TRACE(turn.name);
    target.fill(Board);
    Draw(turn.frame, turn.angle);
    for (int j = 0; j < 11; ++j)
      for (int i = 0; i < 52; ++i) ExpectPlaced(turn.frame, i, j, turn.lands(i, j));
    EXPECT_EQ(Changed(), Opaque(turn.frame));
    EXPECT_EQ(ChangedBox(), turn.box);
  }
}

TEST_F(SpriteTest, AngleIsTakenModuloAFullTurn) {
  Draw(0, 64);
  const QImage quarter = target.copy();
  for (int angle : {64 + 256, 64 - 256, 64 - 512}) {
    target.fill(Board);
    Draw(0, angle);
    EXPECT_EQ(target, quarter) << angle;
  }
}

TEST_F(SpriteTest, SmallAngleTurnsClockwise) {
  Draw(4, 16);  // 22.5 degrees
  const QRect box = ChangedBox();
  EXPECT_GT(box.height(), 25);
  EXPECT_LT(box.width(), 52);
  // The right end has gone down, the left end up.
  auto columnHasChalk = [this](int x, int fromY, int toY) {
    for (int y = fromY; y < toY; ++y)
      if (target.pixel(x, y) != Board) return true;
    return false;
  };
  EXPECT_TRUE(columnHasChalk(X + 20, Y + 4, Y + 16));
  EXPECT_FALSE(columnHasChalk(X + 20, Y - 16, Y - 4));
  EXPECT_TRUE(columnHasChalk(X - 20, Y - 16, Y - 4));
  // Nearest neighbour keeps the area, give or take the edges.
  EXPECT_NEAR(Changed(), Opaque(4), Opaque(4) / 10);
}

TEST_F(SpriteTest, FrameOutsideTheListDrawsNothing) {
  Draw(-1, 0);
  Draw(6, 0);
  Draw(-1, 64);
  EXPECT_EQ(Changed(), 0);
}

TEST_F(SpriteTest, SpriteIsClippedAtTheTargetEdges) {
  DrawSpriteRotated(target, LaidChalkSprite(), 0, 0, 0, 0);
  DrawSpriteRotated(target, LaidChalkSprite(), 199, 119, 0, 32);
  EXPECT_EQ(target.pixel(0, 0), SpritePixel(0, 26, 5));
  EXPECT_NE(target.pixel(199, 119), Board);
}

}  // namespace

}  // namespace slatewick
