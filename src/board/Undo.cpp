// Undo and redo of the board, and the board kept for the next run: the history itself lives in
// BoardHistory, the keeping in KeptBoard.
#include "board/Board.h"
#include "platform/FileReplace.h"
#include "platform/Places.h"

namespace slatewick {

bool Board::Undo() {
  return StepThroughHistory(true);
}

bool Board::Redo() {
  return StepThroughHistory(false);
}

bool Board::StepThroughHistory(bool back) {
  // A stroke, wipe or tap is still on the board while a button is held.
  const KeyState& keys = env_.keys;
  if (!ready_ || keys.Left || keys.Right || keys.Middle) return false;
  CountStorySteps();
  if (!(back ? history_.Undo(picture_) : history_.Redo(picture_))) return false;
  int& stepsThisWay = back ? storyUndo_ : storyRedo_;
  int& stepsBack = back ? storyRedo_ : storyUndo_;
  if (stepsThisWay == 0) {  // a change from before the story: it starts again here
    RestartStory();
    return true;
  }
  --stepsThisWay;
  ++stepsBack;
  storyMade_ = history_.StepsMade();
  Record({back ? StoryStep::Undo : StoryStep::Redo});
  return true;
}

void Board::StartKeptBoard() {
  std::vector<QImage> kept = KeptBoard::Unheld(picture_.size());
  for (QImage& board : kept) board = board.convertToFormat(picture_.format());
  history_.StartWithSteps(kept, picture_);
  storyMade_ = history_.StepsMade();  // the kept boards lie before the story
  for (const QString& folder : Places::WrittenFolders()) RemoveLeftoverFiles(folder);
  kept_.Start();
}

void Board::KeepBoard() {
  kept_.KeepNow();
}

}  // namespace slatewick
