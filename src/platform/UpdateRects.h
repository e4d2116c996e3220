#pragma once
#include <QRect>
#include <QRegion>
#include <vector>

namespace slatewick {

// The rectangles that a changed region of the window goes out as. A request to the window
// system costs about as much as copying RequestPixels pixels, so two rectangles go as their
// bounding box when that adds fewer pixels; a region of more than MaxMerged rectangles (dust all
// over the board) goes as its bounding box. Every changed pixel lies in the result.
inline constexpr long long RequestPixels = 1024;
inline constexpr int MaxMerged = 64;
std::vector<QRect> UpdateRects(const QRegion& changed);

}  // namespace slatewick
