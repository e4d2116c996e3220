#pragma once
#include <QDate>
#include <QImage>

namespace slatewick {

// Writes the date's month, day and weekday from the glyph sheet into the column at the right
// edge of the board picture, for a client area `clientWidth` pixels wide: the month at y 16 (one
// digit centred at clientWidth - 64, two at clientWidth - 80 and - 48), the month mark at 88, the
// day at 168, the day mark at 232 and the weekday at 312. Black glyph pixels leave the board as
// it is; what falls outside the picture is not drawn.
void DrawDate(QImage& board, const QImage& glyphs, const QDate& date, int clientWidth);

}  // namespace slatewick
