#include "board/KeptBoard.h"

#include <QFileInfo>
#include <chrono>
#include <system_error>

#include "platform/AppError.h"
#include "platform/PictureFiles.h"
#include "platform/Places.h"

namespace slatewick {

namespace {

constexpr int PollMilliseconds = 1000;

}  // namespace

KeptBoard::KeptBoard(const QImage& board) : board_(board) {}

KeptBoard::~KeptBoard() {
  WaitForWrite();
}

QImage KeptBoard::Last(QSize size) {
  const QFileInfo file(Places::KeptBoard());
  // Anything larger than the board's own bitmap could be is not even read.
  if (!file.isFile() || file.size() > qint64(size.width()) * size.height() * 4 + 65536) return {};
  try {
    return ReadBmpFile(file.filePath(), {.least = size, .most = size});
  } catch (const AppError&) {
    return {};
  }
}

void KeptBoard::Start() {
  path_ = Places::KeptBoard();
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
  try {
    WriteBmpFile(picture, path_);
    written_ = picture;
  } catch (const AppError&) {
    // Kept again at the next change or quit; the board itself is unharmed.
  }
}

}  // namespace slatewick
