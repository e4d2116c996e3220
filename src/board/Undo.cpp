// Undo and redo of the board, and the board kept for the next run: the history itself lives in
// BoardHistory, the keeping in KeptBoard.
#include "board/Board.h"
#include "platform/FileReplace.h"
#include "platform/KeyState.h"
#include "platform/Places.h"

namespace slatewick {

namespace {

// A stroke, wipe or tap is still on the board while a button is held.
bool ButtonHeld() {
  const KeyState& keys = CurrentKeys();
  return keys.Left || keys.Right || keys.Middle;
}

}  // namespace

bool Board::Undo() {
  return st.BoardReady && !ButtonHeld() && st.History.Undo(st.BoardBitmap);
}

bool Board::Redo() {
  return st.BoardReady && !ButtonHeld() && st.History.Redo(st.BoardBitmap);
}

void Board::StartKeptBoard() {
  std::vector<QImage> kept = KeptBoard::Unheld(st.BoardBitmap.size());
  for (QImage& board : kept) board = board.convertToFormat(st.BoardBitmap.format());
  st.History.StartWithSteps(kept, st.BoardBitmap);
  for (const QString& folder : Places::WrittenFolders()) RemoveLeftoverFiles(folder);
  kept_.Start();
}

void Board::KeepBoard() {
  kept_.KeepNow();
}

}  // namespace slatewick
