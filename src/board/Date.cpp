#include "board/Board.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace slatewick {

namespace {

// Writes the number as one digit centred in the column, or two side by side, at row y.
void DrawNumber(QImage& board, const QImage& glyphs, int W, int value, int y) {
  const QString text = QString::number(value);
  const auto cell = [](QChar c) { return 32 * c.digitValue(); };
  if (text.size() == 1) {
    MaskedBlit(board, W - 64, y, 32, 64, glyphs, cell(text[0]), 0);
  } else {
    MaskedBlit(board, W - 80, y, 32, 64, glyphs, cell(text[0]), 0);
    MaskedBlit(board, W - 48, y, 32, 64, glyphs, cell(text[1]), 0);
  }
}

}  // namespace

void Board::DrawDate() {
  const QDate today = LocalNow().date();
  const int W = ClientWidth();
  QImage& board = st.BoardBitmap;
  const QImage& glyphs = st.GlyphBitmap;
  DrawNumber(board, glyphs, W, today.month(), 16);
  MaskedBlit(board, W - 80, 88, 64, 64, glyphs, 320, 0);
  DrawNumber(board, glyphs, W, today.day(), 168);
  MaskedBlit(board, W - 80, 232, 64, 64, glyphs, 384, 0);
  const int weekday = today.dayOfWeek() % 7 + 1;  // Qt counts Monday 1 .. Sunday 7
  MaskedBlit(board, W - 80, 312, 64, 64, glyphs, 64 * (weekday - 1), 64);
}

void Board::WriteDate() {
  const HistoryScope step(st.History, st.BoardBitmap);
  DrawDate();
}

void Board::ClearBoard() {
  MessageBoxRequest question{st.ClearConfirmText, ApplicationTitle(), BoxIcon::Question, true};
  // Only an explicit Yes clears: closing the box loses no board.
  if (ShowMessageBox(question) != BoxAnswer::Yes) return;
  {
    const HistoryScope step(st.History, st.BoardBitmap);  // the clear and its date
    Canvas board(st.BoardBitmap);
    board.pen.Color = st.BoardColor;
    board.brush.Color = st.BoardColor;
    board.FillRect({0, 0, st.BoardBitmap.width(), st.BoardBitmap.height()});
    if (st.Opt.DateAfterClear) DrawDate();
  }
  Compose();
}

void Board::Quit() {
  if (host_) host_->Close();
}

}  // namespace slatewick
