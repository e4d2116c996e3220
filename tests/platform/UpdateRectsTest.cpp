// The rectangles a changed region goes to the window as: every changed pixel sent, nearby
// rectangles merged, far ones kept apart.
#include <gtest/gtest.h>

#include <QRegion>
#include <vector>

#include "platform/UpdateRects.h"

namespace slatewick {

namespace {

QRegion Tiles(const std::vector<QPoint>& corners) {
  QRegion region;
  for (const QPoint& p : corners) region += QRect(p, QSize(32, 16));
  return region;
}

}  // namespace

TEST(UpdateRects, NearRectanglesMergeFarOnesStayApartAndEveryPixelIsSent) {
  std::vector<QPoint> dust;  // more tiles than are merged one by one, none touching another
  for (int i = 0; i < 70; ++i) dust.push_back({48 * (i % 10), 100 + 32 * (i / 10)});
  const struct {
    const char* name;
    QRegion changed;
    std::size_t count;
  } cases[] = {
      {"one tile", Tiles({{64, 32}}), 1},
      {"two tiles a little apart", Tiles({{64, 32}, {112, 32}}), 1},
      {"a stroke at the top and dust far below", Tiles({{0, 0}, {700, 400}}), 2},
      {"dust all over", Tiles(dust), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<QRect> sent = UpdateRects({c.changed.begin(), c.changed.end()});
    EXPECT_EQ(sent.size(), c.count);
    QRegion covered;
    for (const QRect& r : sent) covered += r;
    EXPECT_TRUE((c.changed - covered).isEmpty());
  }
}

}  // namespace slatewick
