#pragma once
#include <QRect>
#include <vector>

namespace slatewick {

// The rectangles that the changed rectangles of the window go out as. A request to the window
// system costs about as much as copying RequestPixels pixels, so two rectangles go as their
// bounding box when that adds fewer pixels; a region of more than MaxMerged rectangles (dust all
// over the board) goes as its bounding box. Every changed pixel lies in the result.
inline constexpr long long RequestPixels = 1024;
inline constexpr int MaxMerged = 64;
std::vector<QRect> UpdateRects(std::vector<QRect> changed);

}  // namespace slatewick
