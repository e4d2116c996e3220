#include "board/PictureImport.h"

#include <QPainter>

#include "board/Board.h"
#include "board/Hand.h"
#include "platform/AppError.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

QImage FitToBoard(const QImage& picture, QSize board) {
  QImage fitted(board, QImage::Format_RGB32);
  fitted.fill(ToQRgb(BoardColour));
  const QSize size = picture.size().scaled(board, Qt::KeepAspectRatio).expandedTo({1, 1});
  const QPoint at((board.width() - size.width()) / 2, (board.height() - size.height()) / 2);
  QPainter painter(&fitted);
  painter.drawImage(at, size == picture.size() ? picture
                                               : picture.scaled(size, Qt::IgnoreAspectRatio,
                                                                Qt::SmoothTransformation));
  return fitted;
}

void LoadPictureFromElsewhere(Board& board, const std::function<QImage()>& read) {
  const KeyState& keys = board.Env().keys;
  if (!board.Ready() || keys.Left || keys.Right || keys.Middle) return;
  try {
    board.LoadPicture(FitToBoard(read(), board.Picture().size()));
  } catch (const AppError& error) {
    ShowErrorBox(error.Message());
  }
}

}  // namespace slatewick
