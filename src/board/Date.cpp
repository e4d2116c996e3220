#include "board/Date.h"

#include <QString>

#include "platform/Canvas.h"

namespace slatewick {

namespace {

// Writes the number as one digit centred in the column, or two side by side, at row y.
void DrawNumber(Canvas& board, const QImage& glyphs, int width, int value, int y) {
  const QString text = QString::number(value);
  const auto cell = [](QChar c) { return 32 * c.digitValue(); };
  if (text.size() == 1) {
    board.MaskedCopy(width - 64, y, 32, 64, glyphs, cell(text[0]), 0);
  } else {
    board.MaskedCopy(width - 80, y, 32, 64, glyphs, cell(text[0]), 0);
    board.MaskedCopy(width - 48, y, 32, 64, glyphs, cell(text[1]), 0);
  }
}

}  // namespace

void DrawDate(QImage& picture, const QImage& glyphs, const QDate& date, int clientWidth) {
  Canvas board(picture);
  DrawNumber(board, glyphs, clientWidth, date.month(), 16);
  board.MaskedCopy(clientWidth - 80, 88, 64, 64, glyphs, 320, 0);
  DrawNumber(board, glyphs, clientWidth, date.day(), 168);
  board.MaskedCopy(clientWidth - 80, 232, 64, 64, glyphs, 384, 0);
  const int weekday = date.dayOfWeek() % 7 + 1;  // Qt counts Monday 1 .. Sunday 7
  board.MaskedCopy(clientWidth - 80, 312, 64, 64, glyphs, 64 * (weekday - 1), 64);
}

}  // namespace slatewick
