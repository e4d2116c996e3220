#pragma once
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/Types.h"

namespace slatewick {

// One chalk-dust particle: a surface pixel and the chalk whose colour it has.
struct TKona {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t ChalkIndex = 0;
  bool operator==(const TKona&) const = default;
};

// The live particles in order of creation. Particles are kept by value: the list owns them,
// and a removed particle is gone.
class TKonaList {
 public:
  int Count() const { return int(items_.size()); }
  TKona& Add() { return items_.emplace_back(); }
  TKona& operator[](int i) { return items_[std::size_t(i)]; }
  const TKona& operator[](int i) const { return items_[std::size_t(i)]; }
  void Delete(int i) { items_.erase(items_.begin() + i); }
  const std::vector<TKona>& Items() const { return items_; }

 private:
  std::vector<TKona> items_;
};

// In-memory byte streams owned by the list; entry 0 of the board's list is the tap sound.
class TMemoryStreamList {
 public:
  int Add() {
    items_.emplace_back();
    return int(items_.size()) - 1;
  }
  QByteArray& operator[](int i) { return items_[std::size_t(i)]; }
  int Count() const { return int(items_.size()); }
  // The stream's memory, or nullptr when it is empty.
  const void* Memory(int i) const {
    return items_[std::size_t(i)].isEmpty() ? nullptr : items_[std::size_t(i)].constData();
  }

 private:
  std::vector<QByteArray> items_;
};

// Copies src's rectangle (srcX, srcY, width, height) to (x, y) of dst, leaving out pure
// black source pixels: dst := (dst AND mask) OR src. Clipped to both pictures.
void MaskedBlit(QImage& dst, int x, int y, int width, int height, const QImage& src, int srcX,
                int srcY);
// The same into the rectangle `to` of dst.
inline void MaskedBlit(QImage& dst, const TRect& to, const QImage& src, int srcX, int srcY) {
  MaskedBlit(dst, to.Left, to.Top, to.Width(), to.Height(), src, srcX, srcY);
}

// True when the intersection of the two rectangles has positive width and height.
bool RectsOverlap(const TRect& a, const TRect& b);

}  // namespace slatewick
