#pragma once
#include <QImage>
#include <QSize>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <future>
#include <memory>
#include <vector>

#include "platform/FileReplace.h"

namespace slatewick {

// The board kept in a file of the program's own (Places::KeptBoard) so that the next run can
// offer it back. Each running program keeps its board in a file that it holds (HeldFile) and no
// other running program writes: LastBoard.bmp where that is free, else one of the other slots,
// up to Places::KeptBoardSlots; with every slot held, the board is not kept. Once started, the
// board is written on a worker thread when it has stayed unchanged for a second after a change
// (checked every second, so 1 to 2 s after the last change), and at once by KeepNow. A write
// replaces the file in one step; a board equal to the one last written, or to the board at the
// start, is not written, so a run without changes writes nothing. A failed write is silent and
// tried again at the next change or KeepNow.
class KeptBoard {
 public:
  // board: the picture to keep; it must outlive this object.
  explicit KeptBoard(const QImage& board);
  ~KeptBoard();  // waits for a write under way
  KeptBoard(const KeptBoard&) = delete;
  KeptBoard& operator=(const KeptBoard&) = delete;

  // The kept boards that no running program holds, the most recently written first, as RGB32
  // of exactly `size`; files missing, unreadable, not bitmaps or of another size are passed over,
  // and a board equal to one before it is left out.
  static std::vector<QImage> Unheld(QSize size);
  // From now on the board is kept; the board as it stands counts as written. LastBoard.bmp is
  // held at once where it is there and free (nothing is written before the first change).
  void Start();
  bool Started() const { return poll_ != nullptr; }
  // Writes the board now if it differs from the one last written, and returns once it is on the
  // disk. Nothing before Start.
  void KeepNow();

 private:
  void Poll();
  void Write(const QImage& picture);  // on the worker or, by KeepNow, on the caller's thread
  void WaitForWrite();
  // Chooses the file to keep the board in: LastBoard.bmp if free, else (with `create`) the first
  // missing slot, else the free slot written longest ago. False when every slot is held.
  bool Claim(bool create);

  const QImage& board_;
  HeldFile held_;  // the file this run keeps its board in, once it has one
  QString path_;   // where it is kept; empty until claimed
  std::unique_ptr<QTimer> poll_;
  std::int64_t seenKey_ = 0;    // the board's cache key at the last poll
  std::int64_t handedKey_ = 0;  // the cache key of the board last handed to Write
  QImage written_;              // the board last written (or started with); Write's own
  std::future<void> writing_;   // the write under way, if any
};

}  // namespace slatewick
