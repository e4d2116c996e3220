// The popup menu's commands that act on the board itself: clearing, the date, quitting.
#include "board/Board.h"
#include "board/Date.h"
#include "platform/Canvas.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

void Board::WriteDate() {
  const QDate today = env_.clock.LocalNow().date();
  Record({StoryStep::WriteDate, 0, 0, 0, today.toJulianDay()});
  {
    const HistoryScope step(history_, picture_);
    DrawDate(picture_, pictures_.glyphs, today, ClientSize().width());
  }
  CountStorySteps();
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
  RestartStory();  // a clear board begins a story of its own
  Compose();
}

void Board::LoadPicture(const QImage& picture) {
  {
    const HistoryScope step(history_, picture_);
    picture_ = picture.convertToFormat(picture_.format());
  }
  RestartStory();
}

void Board::Quit() {
  if (host_) host_->Close();
}

}  // namespace slatewick
