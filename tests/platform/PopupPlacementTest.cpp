#include <gtest/gtest.h>

#include "platform/widgets/PopupPlacement.h"

namespace slatewick {
namespace {

// A 100 x 200 menu in the area 0,0 .. 800,480 (a window's client area under Wayland).
TEST(PopupPlacementTest, LiesWholeInTheArea) {
  const QRect area(0, 0, 800, 480);
  const QSize menu(100, 200);
  const struct {
    QPoint at, expected;
  } cases[] = {
      {{300, 100}, {300, 100}},  // fits below and right: opens there
      {{758, 456}, {658, 256}},  // the tray's menu button: flips up and left
      {{300, 400}, {300, 200}},  // near the bottom only: flips up
      {{-20, -30}, {0, 0}},      // outside the area: slides in
  };
  for (const auto& c : cases) EXPECT_EQ(PlacePopup(c.at, menu, area), c.expected) << c.at.x();
  // Taller than there is room above or below the point: slides against the bottom edge.
  EXPECT_EQ(PlacePopup({10, 150}, {100, 400}, area), QPoint(10, 80));
  // Taller than the area: its top stays in.
  EXPECT_EQ(PlacePopup({10, 150}, {100, 600}, area), QPoint(10, 0));
}

}  // namespace
}  // namespace slatewick
