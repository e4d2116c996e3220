#include "board/BoardHistory.h"

#include <zstd.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace slatewick {

namespace {

constexpr int PixelBytes = 4;  // the board is a 32-bit picture
constexpr int PackLevel = 1;   // zstd's fastest level with a real search: chalk packs tightly

}  // namespace

void BoardHistory::ContextFree::operator()(ZSTD_CCtx* c) const {
  ZSTD_freeCCtx(c);
}
void BoardHistory::ContextFree::operator()(ZSTD_DCtx* d) const {
  ZSTD_freeDCtx(d);
}

BoardHistory::BoardHistory(std::size_t byteLimit, std::size_t stepLimit)
    : limit_(byteLimit), stepLimit_(stepLimit) {}

BoardHistory::TileRect BoardHistory::Tile(std::uint32_t n) const {
  const int x = int(n) % tilesX_ * TileWidth, y = int(n) / tilesX_ * TileHeight;
  return {x, y, std::min(TileWidth, copy_.width() - x), std::min(TileHeight, copy_.height() - y)};
}

bool BoardHistory::Fits(const QImage& board) const {
  return !copy_.isNull() && board.size() == copy_.size() && board.format() == copy_.format();
}

void BoardHistory::Watch(const QImage& board) {
  if (Fits(board) || board.isNull() || board.depth() != 8 * PixelBytes) return;
  copy_ = board.copy();
  tilesX_ = (board.width() + TileWidth - 1) / TileWidth;
  tilesY_ = (board.height() + TileHeight - 1) / TileHeight;
  changed_.assign(std::size_t(tilesX_) * std::size_t(tilesY_), 0);
  steps_.clear();
  done_ = 0;
  stepBytes_ = 0;
}

void BoardHistory::Pack(Step& step) {
  if (!packer_) packer_.reset(ZSTD_createCCtx());
  packed_.resize(ZSTD_compressBound(raw_.size()));
  const std::size_t size = ZSTD_compressCCtx(packer_.get(), packed_.data(), packed_.size(),
                                             raw_.data(), raw_.size(), PackLevel);
  if (ZSTD_isError(size)) throw std::bad_alloc();
  step.pixels.assign(packed_.begin(), packed_.begin() + std::ptrdiff_t(size));
  step.pixels.shrink_to_fit();
  step.rawBytes = raw_.size();
}

void BoardHistory::Unpack(const Step& step) {
  if (!unpacker_) unpacker_.reset(ZSTD_createDCtx());
  raw_.resize(step.rawBytes);
  const std::size_t size = ZSTD_decompressDCtx(unpacker_.get(), raw_.data(), raw_.size(),
                                               step.pixels.data(), step.pixels.size());
  if (ZSTD_isError(size) || size != raw_.size()) throw std::bad_alloc();
}

bool BoardHistory::Record(const QImage& board) {
  if (!Fits(board)) {
    Watch(board);
    return false;
  }
  const int width = board.width(), height = board.height();
  const auto rowBytes = std::size_t(width) * PixelBytes;
  const auto nowStride = std::size_t(board.bytesPerLine());
  const auto wasStride = std::size_t(copy_.bytesPerLine());
  const uchar* now = board.constBits();
  uchar* was = copy_.bits();

  // Whole rows first: most rows of a stroke's board are untouched.
  std::fill(changed_.begin(), changed_.end(), 0);
  std::size_t tileCount = 0, bytes = 0;
  for (int y = 0; y < height; ++y) {
    const uchar* n = now + std::size_t(y) * nowStride;
    const uchar* w = was + std::size_t(y) * wasStride;
    if (std::memcmp(n, w, rowBytes) == 0) continue;
    std::uint8_t* flags = &changed_[std::size_t(y / TileHeight) * std::size_t(tilesX_)];
    for (int tx = 0; tx < tilesX_; ++tx) {
      if (flags[tx]) continue;
      const auto offset = std::size_t(tx) * TileWidth * PixelBytes;
      const auto length = std::min(std::size_t(TileWidth) * PixelBytes, rowBytes - offset);
      if (std::memcmp(n + offset, w + offset, length) == 0) continue;
      flags[tx] = 1;
      ++tileCount;
      const TileRect t = Tile(std::uint32_t(y / TileHeight * tilesX_ + tx));
      bytes += std::size_t(t.w) * std::size_t(t.h) * PixelBytes;
    }
  }
  if (tileCount == 0) return false;

  // The step keeps each changed tile's old pixels, packed; the copy takes the new ones.
  Step step;
  step.tiles.reserve(tileCount);
  raw_.resize(bytes);
  uchar* out = raw_.data();
  for (std::size_t i = 0; i < changed_.size(); ++i) {
    if (!changed_[i]) continue;
    step.tiles.push_back(std::uint32_t(i));
    const TileRect t = Tile(std::uint32_t(i));
    const auto length = std::size_t(t.w) * PixelBytes;
    for (int y = t.y; y < t.y + t.h; ++y) {
      const auto offset = std::size_t(t.x) * PixelBytes;
      uchar* w = was + std::size_t(y) * wasStride + offset;
      std::memcpy(out, w, length);
      std::memcpy(w, now + std::size_t(y) * nowStride + offset, length);
      out += length;
    }
  }
  Pack(step);

  while (steps_.size() > done_) {
    stepBytes_ -= steps_.back().Held();
    steps_.pop_back();
  }
  stepBytes_ += step.Held();
  steps_.push_back(std::move(step));
  ++done_;
  ++made_;
  DropOldestBeyondLimit();
  return true;
}

int BoardHistory::StartWithSteps(const std::vector<QImage>& earlier, const QImage& board) {
  *this = BoardHistory(limit_, stepLimit_);
  Watch(earlier.empty() ? board : earlier.back());
  int steps = 0;
  for (auto picture = earlier.rbegin(); picture != earlier.rend(); ++picture)
    steps += int(Record(*picture));
  return steps + int(Record(board));
}

void BoardHistory::DropOldestBeyondLimit() {
  while (!steps_.empty() && (Bytes() > limit_ || steps_.size() > stepLimit_)) {
    stepBytes_ -= steps_.front().Held();
    steps_.pop_front();
    if (done_ > 0) --done_;
  }
}

std::size_t BoardHistory::Bytes() const {
  return std::size_t(copy_.sizeInBytes()) + stepBytes_;
}

void BoardHistory::Swap(Step& step, QImage& board) {
  Unpack(step);
  const auto boardStride = std::size_t(board.bytesPerLine());
  const auto copyStride = std::size_t(copy_.bytesPerLine());
  uchar* on = board.bits();  // a write: the board's cache key changes, so the frame is redrawn
  uchar* was = copy_.bits();
  uchar* kept = raw_.data();
  // Before the exchange the copy equals the board, so it serves as the spare row.
  for (const std::uint32_t n : step.tiles) {
    const TileRect t = Tile(n);
    const auto length = std::size_t(t.w) * PixelBytes;
    const auto offset = std::size_t(t.x) * PixelBytes;
    for (int y = t.y; y < t.y + t.h; ++y) {
      uchar* b = on + std::size_t(y) * boardStride + offset;
      uchar* c = was + std::size_t(y) * copyStride + offset;
      std::memcpy(c, kept, length);
      std::memcpy(kept, b, length);
      std::memcpy(b, c, length);
      kept += length;
    }
  }
  stepBytes_ -= step.Held();
  Pack(step);
  stepBytes_ += step.Held();
}

bool BoardHistory::Undo(QImage& board) {
  Record(board);
  if (done_ == 0) return false;
  Swap(steps_[--done_], board);
  return true;
}

bool BoardHistory::Redo(QImage& board) {
  Record(board);
  if (done_ == steps_.size()) return false;
  Swap(steps_[done_++], board);
  return true;
}

}  // namespace slatewick
