// Undo and redo of the board: the history itself lives in BoardHistory.
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

}  // namespace slatewick
