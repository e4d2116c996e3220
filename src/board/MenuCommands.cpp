// The popup menu's commands that act on the board itself: clearing, the date, quitting.
#include "board/Board.h"
#include "board/Date.h"
#include "platform/Canvas.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

void Board::WriteDate() {
  const HistoryScope step(history_, picture_);
  DrawDate(picture_, pictures_.glyphs, env_.clock.LocalNow().date(), ClientSize().width());
}

void Board::ClearBoard() {
  MessageBoxRequest question{clearQuestion_, ApplicationTitle(), BoxIcon::Question, true};
  // Only an explicit Yes clears: closing the box loses no board.
  if (ShowMessageBox(question) != BoxAnswer::Yes) return;
  {
    const HistoryScope step(history_, picture_);  // the clear and its date
    Canvas board(picture_);
    board.pen.Color = BoardColour;
    board.brush.Color = BoardColour;
    board.FillRect({0, 0, picture_.width(), picture_.height()});
    if (settings_.DateAfterClear)
      DrawDate(picture_, pictures_.glyphs, env_.clock.LocalNow().date(), ClientSize().width());
  }
  Compose();
}

void Board::LoadPicture(const QImage& picture) {
  const HistoryScope step(history_, picture_);
  picture_ = picture.convertToFormat(picture_.format());
}

void Board::Quit() {
  if (host_) host_->Close();
}

}  // namespace slatewick
