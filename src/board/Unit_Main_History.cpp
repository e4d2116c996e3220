// Undo and redo of the board, and the board kept for the next run: the history itself lives in
// BoardHistory, the keeping in KeptBoard.
#include "board/Unit_Main.h"
#include "platform/KeyState.h"

namespace slatewick {

namespace {

// A stroke, wipe or tap is still on the board while a button is held.
bool ButtonHeld() {
  const KeyState& keys = CurrentKeys();
  return keys.Left || keys.Right || keys.Middle;
}

}  // namespace

bool TfrmMain::Undo() {
  return st.BoardReady && !ButtonHeld() && st.History.Undo(st.BoardBitmap);
}

bool TfrmMain::Redo() {
  return st.BoardReady && !ButtonHeld() && st.History.Redo(st.BoardBitmap);
}

void TfrmMain::StartKeptBoard() {
  const QImage last = KeptBoard::Last(st.BoardBitmap.size());
  if (!last.isNull())
    st.History.StartWithStep(last.convertToFormat(st.BoardBitmap.format()), st.BoardBitmap);
  kept_.Start();
}

void TfrmMain::KeepBoard() {
  kept_.KeepNow();
}

}  // namespace slatewick
