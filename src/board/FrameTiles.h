#pragma once
#include <cstdint>
#include <vector>

#include "platform/Colour.h"
#include "platform/Rect.h"

namespace slatewick {

// The parts of a frame (in tiles of 16 x 8 pixels) that must be composed again.
class FrameTiles {
 public:
  static constexpr int TileWidth = 16, TileHeight = 8;

  // A frame of width x height pixels with no tile marked.
  void Reset(int width, int height);
  // Marks every tile that r (cut to the frame) touches.
  void Mark(const Rect& r);
  void MarkPoint(int x, int y) {
    if (unsigned(x) < unsigned(width_) && unsigned(y) < unsigned(height_))
      flags_[std::size_t(y / TileHeight) * std::size_t(tilesX_) + std::size_t(x / TileWidth)] = 1;
  }
  void MarkAll();
  // Marks the tiles marked in other, a frame of the same size (nothing otherwise).
  void Add(const FrameTiles& other);
  // Unmarks the tiles marked in other, a frame of the same size (nothing otherwise).
  void Remove(const FrameTiles& other);
  // Unmarks every tile that does not lie wholly inside r (tiles cut to the frame).
  void KeepInside(const Rect& r);
  int Count() const;
  int Total() const { return int(flags_.size()); }
  // The marked tiles as rectangles (runs along each row of tiles), cut to the frame.
  std::vector<Rect> Rects() const;

 private:
  int width_ = 0, height_ = 0, tilesX_ = 0, tilesY_ = 0;
  std::vector<std::uint8_t> flags_;
};

}  // namespace slatewick
