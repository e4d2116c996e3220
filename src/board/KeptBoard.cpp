#include "board/KeptBoard.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <chrono>
#include <system_error>

#include "platform/AppError.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"

namespace slatewick {

namespace {

constexpr int PollMilliseconds = 1000;

// Whether anything (a file, a link, ...) has that name.
bool Taken(const QString& path) {
  const QFileInfo file(path);
  return file.exists() || file.isSymLink();
}

}  // namespace

KeptBoard::KeptBoard(const QImage& board) : board_(board) {}

KeptBoard::~KeptBoard() {
  WaitForWrite();
}

std::vector<QImage> KeptBoard::Unheld(QSize size) {
  struct Found {
    QImage picture;
    QDateTime written;
  };
  std::vector<Found> found;
  for (int slot = 0; slot < Places::KeptBoardSlots; ++slot) {
    const QString path = Places::KeptBoard(slot);
    HeldFile held;
    // Anything larger than the board's own bitmap could be is not even read.
    const QFileInfo file(path);
    if (!file.isFile() || file.size() > qint64(size.width()) * size.height() * 4 + 65536 ||
        !held.Hold(path))
      continue;
    try {
      found.push_back({ReadBmpFile(path, {.least = size, .most = size}), file.lastModified()});
    } catch (const AppError&) {
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Found& a, const Found& b) { return a.written > b.written; });
  std::vector<QImage> boards;
  for (const Found& f : found)
    if (std::find(boards.begin(), boards.end(), f.picture) == boards.end())
      boards.push_back(f.picture);
  return boards;
}

bool KeptBoard::Claim(bool create) {
  int missing = -1;
  QString oldest;
  QDateTime oldestTime;
  for (int slot = 0; slot < Places::KeptBoardSlots; ++slot) {
    const QString path = Places::KeptBoard(slot);
    if (!Taken(path)) {
      if (missing < 0) missing = slot;
      continue;
    }
    if (slot == 0 && held_.Hold(path)) {
      path_ = path;
      return true;
    }
    const QDateTime written = QFileInfo(path).lastModified();
    if (!HeldFile::HeldByAnyone(path) && (oldest.isEmpty() || written < oldestTime)) {
      oldest = path;
      oldestTime = written;
    }
  }
  if (missing >= 0) {
    if (!create) return false;
    path_ = Places::KeptBoard(missing);
    return true;
  }
  if (oldest.isEmpty() || !held_.Hold(oldest)) return false;
  path_ = oldest;
  return true;
}

void KeptBoard::Start() {
  Claim(false);
  written_ = board_;
  seenKey_ = handedKey_ = board_.cacheKey();
  poll_ = std::make_unique<QTimer>();
  poll_->callOnTimeout([this] { Poll(); });
  poll_->start(PollMilliseconds);
}

void KeptBoard::Poll() {
  const std::int64_t key = board_.cacheKey();
  const bool quiet = key == seenKey_;
  seenKey_ = key;
  if (!quiet || key == handedKey_) return;
  using namespace std::chrono_literals;
  if (writing_.valid() && writing_.wait_for(0s) != std::future_status::ready) return;
  handedKey_ = key;
  Places::PrepareKeptBoardFolder();
  // The worker holds a shared copy: the next change on this thread detaches the board from it.
  try {
    writing_ = std::async(std::launch::async, [this, picture = board_] { Write(picture); });
  } catch (const std::system_error&) {
    handedKey_ = 0;  // no thread to spare now: the next poll tries again
  }
}

void KeptBoard::KeepNow() {
  if (!Started()) return;
  WaitForWrite();
  handedKey_ = board_.cacheKey();
  if (board_ == written_) return;
  Places::PrepareKeptBoardFolder();
  Write(board_);
}

void KeptBoard::WaitForWrite() {
  if (writing_.valid()) writing_.wait();
  writing_ = {};
}

void KeptBoard::Write(const QImage& picture) {
  if (picture == written_) return;
  if (!held_.Holding() && !Claim(true)) return;  // every slot is held: not kept this time
  try {
    if (held_.Replace(path_, EncodeBmp(picture))) {
      // Another program took the missing slot first: the next write chooses again.
      if (!held_.Holding()) path_.clear();
      return;
    }
    written_ = picture;
  } catch (const AppError&) {
    // Kept again at the next change or quit; the board itself is unharmed.
  }
}

}  // namespace slatewick
