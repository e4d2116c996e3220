#include "board/FrameTiles.h"

#include <algorithm>
#include <numeric>

namespace slatewick {

void FrameTiles::Reset(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  tilesX_ = (width_ + TileWidth - 1) / TileWidth;
  tilesY_ = (height_ + TileHeight - 1) / TileHeight;
  flags_.assign(std::size_t(tilesX_) * std::size_t(tilesY_), 0);
}

void FrameTiles::Mark(const TRect& r) {
  const int left = std::max(r.Left, 0), right = std::min(r.Right, width_);
  const int top = std::max(r.Top, 0), bottom = std::min(r.Bottom, height_);
  if (left >= right || top >= bottom) return;
  for (int ty = top / TileHeight; ty <= (bottom - 1) / TileHeight; ++ty)
    for (int tx = left / TileWidth; tx <= (right - 1) / TileWidth; ++tx)
      flags_[std::size_t(ty) * std::size_t(tilesX_) + std::size_t(tx)] = 1;
}

void FrameTiles::MarkAll() {
  std::fill(flags_.begin(), flags_.end(), 1);
}

void FrameTiles::Add(const FrameTiles& other) {
  if (other.flags_.size() != flags_.size() || other.width_ != width_) return;
  std::transform(flags_.begin(), flags_.end(), other.flags_.begin(), flags_.begin(),
                 [](std::uint8_t a, std::uint8_t b) { return std::uint8_t(a | b); });
}

int FrameTiles::Count() const {
  return std::accumulate(flags_.begin(), flags_.end(), 0);
}

std::vector<TRect> FrameTiles::Rects() const {
  std::vector<TRect> rects;
  for (int ty = 0; ty < tilesY_; ++ty) {
    const std::uint8_t* row = &flags_[std::size_t(ty) * std::size_t(tilesX_)];
    for (int tx = 0; tx < tilesX_;) {
      if (!row[tx]) {
        ++tx;
        continue;
      }
      const int first = tx;
      while (tx < tilesX_ && row[tx]) ++tx;
      const int top = ty * TileHeight;
      TRect r{first * TileWidth, top, std::min(tx * TileWidth, width_),
              std::min(top + TileHeight, height_)};
      // A run spanning the same columns as the one above joins it.
      if (!rects.empty() && rects.back().Left == r.Left && rects.back().Right == r.Right &&
          rects.back().Bottom == r.Top)
        rects.back().Bottom = r.Bottom;
      else
        rects.push_back(r);
    }
  }
  return rects;
}

}  // namespace slatewick
