#include "board/FrameTiles.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace slatewick {

namespace {

// The first flag in [from, to) equal to `flag`, or `to`.
const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t flag) {
  const void* at = std::memchr(from, flag, std::size_t(to - from));
  return at ? static_cast<const std::uint8_t*>(at) : to;
}

}  // namespace

void FrameTiles::Reset(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  tilesX_ = (width_ + TileWidth - 1) / TileWidth;
  tilesY_ = (height_ + TileHeight - 1) / TileHeight;
  flags_.assign(std::size_t(tilesX_) * std::size_t(tilesY_), 0);
}

void FrameTiles::Mark(const Rect& r) {
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

void FrameTiles::Remove(const FrameTiles& other) {
  if (other.flags_.size() != flags_.size() || other.width_ != width_) return;
  std::transform(flags_.begin(), flags_.end(), other.flags_.begin(), flags_.begin(),
                 [](std::uint8_t a, std::uint8_t b) { return std::uint8_t(a & ~b); });
}

void FrameTiles::KeepInside(const Rect& r) {
  // The tiles wholly inside: columns [x0, x1) and rows [y0, y1) (the last ones cut to the frame).
  const auto first = [](int from, int size) { return std::max((from + size - 1) / size, 0); };
  const auto end = [](int to, int size, int frame, int count) {
    return to >= frame ? count : std::clamp(to / size, 0, count);
  };
  const int x0 = std::min(first(r.Left, TileWidth), tilesX_);
  const int x1 = std::max(end(r.Right, TileWidth, width_, tilesX_), x0);
  const int y0 = std::min(first(r.Top, TileHeight), tilesY_);
  const int y1 = std::max(end(r.Bottom, TileHeight, height_, tilesY_), y0);
  const auto row = [this](int ty) { return flags_.begin() + std::ptrdiff_t(ty) * tilesX_; };
  std::fill(row(0), row(y0), 0);
  std::fill(row(y1), flags_.end(), 0);
  for (int ty = y0; ty < y1; ++ty) {
    std::fill(row(ty), row(ty) + x0, 0);
    std::fill(row(ty) + x1, row(ty + 1), 0);
  }
}

int FrameTiles::Count() const {
  return std::accumulate(flags_.begin(), flags_.end(), 0);
}

std::vector<Rect> FrameTiles::Rects() const {
  std::vector<Rect> rects;
  for (int ty = 0; ty < tilesY_; ++ty) {
    const std::uint8_t* row = &flags_[std::size_t(ty) * std::size_t(tilesX_)];
    const std::uint8_t* rowEnd = row + tilesX_;
    for (const std::uint8_t* at = row; at < rowEnd;) {
      at = Find(at, rowEnd, 1);
      if (at == rowEnd) break;
      const int first = int(at - row);
      at = Find(at, rowEnd, 0);
      const int tx = int(at - row);
      const int top = ty * TileHeight;
      Rect r{first * TileWidth, top, std::min(tx * TileWidth, width_),
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
