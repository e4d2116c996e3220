#pragma once
#include <QImage>
#include <QSize>
#include <functional>

namespace slatewick {

class Board;

// A picture from another program as a board of `board` pixels (RGB32): scaled smoothly to the
// largest size that fits keeping its proportions, centred on the board colour, which also shows
// through any transparency. A picture of the board's size is taken pixel for pixel.
QImage FitToBoard(const QImage& picture, QSize board);

// The picture that `read` gives (a paste, a drop), fitted to the board, becomes the board as a
// loaded board does (Board::LoadPicture: one step to undo, and the story starts from it). A
// refusal (AppError) shows the error box and leaves the board as it was. Nothing is read before
// start-up has finished, nor while a mouse button holds a stroke, a wipe or a tap on the board.
void LoadPictureFromElsewhere(Board& board, const std::function<QImage()>& read);

}  // namespace slatewick
