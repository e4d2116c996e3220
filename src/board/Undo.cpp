// Undo and redo of the board, and the board kept for the next run: the history itself lives in
// BoardHistory, the keeping in KeptBoard.
#include "board/Board.h"
#include "platform/FileReplace.h"
#include "platform/Places.h"

namespace slatewick {

bool Board::Undo() {
  // A stroke, wipe or tap is still on the board while a button is held.
  const KeyState& keys = env_.keys;
  return ready_ && !(keys.Left || keys.Right || keys.Middle) && history_.Undo(picture_);
}

bool Board::Redo() {
  const KeyState& keys = env_.keys;
  return ready_ && !(keys.Left || keys.Right || keys.Middle) && history_.Redo(picture_);
}

void Board::StartKeptBoard() {
  std::vector<QImage> kept = KeptBoard::Unheld(picture_.size());
  for (QImage& board : kept) board = board.convertToFormat(picture_.format());
  history_.StartWithSteps(kept, picture_);
  for (const QString& folder : Places::WrittenFolders()) RemoveLeftoverFiles(folder);
  kept_.Start();
}

void Board::KeepBoard() {
  kept_.KeepNow();
}

}  // namespace slatewick
