#pragma once
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

struct ZSTD_CCtx_s;
struct ZSTD_DCtx_s;

namespace slatewick {

// The undo history of the board picture. It keeps a copy of the board as of its last record;
// Record compares the board with that copy tile by tile (32 x 16 pixels) and keeps the old
// pixels of just the changed tiles as one step. Undo and Redo exchange a step's tiles with the
// board's, so each step holds one side of its change: the board holds the other. Nothing is
// done while the board is drawn on; the cost is paid at Record (a full compare and the changed
// tiles' copies). Steps keep their pixels packed (zstd): a chalk board packs many times over.
// Memory (the copy plus every step, in bytes) stays within the byte limit, and the steps within
// the step limit, by dropping the oldest steps at each record; an undo or redo may repack a step
// a little larger until the next record. Packed chalk steps are small: the step limit is what
// bounds the memory of a long session, the byte limit what bounds boards that do not pack.
class BoardHistory {
 public:
  static constexpr int TileWidth = 32, TileHeight = 16;
  static constexpr std::size_t DefaultLimit = std::size_t(64) << 20;
  static constexpr std::size_t DefaultStepLimit = 1000;

  explicit BoardHistory(std::size_t byteLimit = DefaultLimit,
                        std::size_t stepLimit = DefaultStepLimit);

  // Makes the board as it stands the start of the history if there is none yet, or if the
  // board's size or format differs from the copy (which drops every step).
  void Watch(const QImage& board);
  // Every pixel changed since the last record, undo or redo becomes one step; no step when
  // nothing changed. A step drops the steps that could be redone. True when a step was made.
  bool Record(const QImage& board);
  // Drops every step and starts anew with the earlier pictures behind the board, the most recent
  // first: the first is one undo away, the next one undo further, as if each had been drawn over
  // the one after it and the board over the first (same size and format). A picture equal to
  // the one it would follow makes no step. The number of steps made.
  int StartWithSteps(const std::vector<QImage>& earlier, const QImage& board);
  // Records what is pending, then takes the board back to before the last step (Undo) or
  // forward over the next undone step (Redo). False when there is none; the board is then
  // unchanged.
  bool Undo(QImage& board);
  bool Redo(QImage& board);

  int UndoCount() const { return int(done_); }
  // How many steps Record has made in all (the board's story tells its own steps by it).
  std::uint64_t StepsMade() const { return made_; }
  int RedoCount() const { return int(steps_.size() - done_); }
  // Bytes held: the copy of the board and every step's tiles and index.
  std::size_t Bytes() const;
  std::size_t Limit() const { return limit_; }

 private:
  struct Step {
    std::vector<std::uint32_t> tiles;  // tile numbers, row by row
    std::vector<uchar> pixels;         // their pixels, tile after tile, row by row, packed
    std::size_t rawBytes = 0;          // of the pixels unpacked
    std::size_t Held() const {
      return sizeof(Step) + tiles.capacity() * sizeof(std::uint32_t) + pixels.capacity();
    }
  };
  struct ContextFree {
    void operator()(ZSTD_CCtx_s* c) const;
    void operator()(ZSTD_DCtx_s* d) const;
  };
  struct TileRect {
    int x, y, w, h;  // pixels
  };
  TileRect Tile(std::uint32_t n) const;
  bool Fits(const QImage& board) const;
  // Exchanges the step's pixels with the board's and brings the copy along.
  void Swap(Step& step, QImage& board);
  void DropOldestBeyondLimit();
  // Packs raw_ into the step's pixels; unpacks the step's pixels into raw_.
  void Pack(Step& step);
  void Unpack(const Step& step);

  std::size_t limit_;
  std::size_t stepLimit_;
  QImage copy_;  // the board as of the last record, undo or redo; never shared
  int tilesX_ = 0, tilesY_ = 0;
  std::vector<std::uint8_t> changed_;  // per tile, scratch of Record
  std::deque<Step> steps_;             // oldest first
  std::size_t done_ = 0;               // steps_[0 .. done_) are on the board
  std::uint64_t made_ = 0;             // steps Record made
  std::size_t stepBytes_ = 0;          // Held() of every step
  std::vector<uchar> raw_, packed_;    // scratch of packing and unpacking
  std::unique_ptr<ZSTD_CCtx_s, ContextFree> packer_;
  std::unique_ptr<ZSTD_DCtx_s, ContextFree> unpacker_;
};

// Everything a command changes on the board from construction to destruction is one step.
class HistoryScope {
 public:
  HistoryScope(BoardHistory& history, const QImage& board) : history_(history), board_(board) {
    history_.Watch(board_);
  }
  ~HistoryScope() { history_.Record(board_); }
  HistoryScope(const HistoryScope&) = delete;
  HistoryScope& operator=(const HistoryScope&) = delete;

 private:
  BoardHistory& history_;
  const QImage& board_;
};

}  // namespace slatewick
